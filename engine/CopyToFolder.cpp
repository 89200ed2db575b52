#include "engine/CopyToFolder.h"

#include "engine/CopyDestination.h"
#include "engine/CopyEntryWriter.h"
#include "engine/CopyFailures.h"
#include "engine/CopyProgressMeter.h"
#include "engine/CopyTemporaries.h"
#include "engine/SerialObserver.h"
#include "engine/TreeCopier.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;
using fs::OsCode;

constexpr const char* kNoName = "Der Pfad nennt keinen Datei- oder Ordnernamen";
constexpr const char* kRoot =
    "Ein Laufwerk oder Wurzelordner kann nicht als Ganzes gesichert werden";
constexpr const char* kSpecial =
    "Die Quelle ist keine Datei und kein Ordner, sondern ein Gerät, eine Pipe oder ein Socket";

// The end of the message for a destination whose volume could not be flushed.
constexpr const char* kNotFlushed =
    "' geschrieben hat, konnte nicht dauerhaft auf den Datenträger geschrieben werden: ";

class NoFaults final : public CopyFaults {
public:
    OsCode afterChunk(const std::string&, std::uint64_t) override { return kOsOk; }
};

// Looks at the source, resolved by its text, so "…/Daten/.." names the parent folder, never an
// entry "..". True when it is a file, folder or link that has a name to land under.
bool lookAtSource(const std::string& given, const std::string& source, const std::string& name,
                  EntryInfo& info, CopyFailures& failures) {
    if (!fs::isEntryName(name))
        return failures.fail(given, name.empty() && !source.empty() ? kRoot : kNoName);
    if (const OsCode code = fs::statEntry(source, info); code != kOsOk)
        return failures.fail(given, code);
    if (info.kind == EntryKind::Missing)
        return failures.fail(given, "Datei oder Ordner nicht gefunden");
    if (info.kind == EntryKind::Special) return failures.fail(given, kSpecial);
    return true;
}

}  // namespace

Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer) {
    NoFaults none;
    return CopyToFolderWithFaults(source, destination, flags, observer, none);
}

Result<> CopyToFolderWithFaults(const std::string& givenSource, const std::string& destination,
                                unsigned flags, CopyObserver& given, CopyFaults& faults,
                                unsigned workerCount) {
    SerialObserver observer(given);
    CopyDestination target(destination);
    CopyFailures failures(observer, target);
    const std::string source = fs::normalisePath(givenSource);
    const std::string name = fs::lastName(source);
    EntryInfo info;
    if (!lookAtSource(givenSource, source, name, info, failures)) return failures.result();
    if (Result<> prepared = target.prepare(faults); !prepared) {
        failures.report(prepared.error());
        return failures.result();
    }
    CopyTemporaries temporaries;
    temporaries.clearLeftovers(target.path());
    // Same file identity, not only the same text: another path to the folder is refused too.
    if (info.sameEntryAs(target.info())) {
        failures.report(failure(kSameSourceAndDestination, givenSource));
        return failures.result();
    }
    CopyProgressMeter meter(observer, faults);
    CopyEntryWriter writer(target.path(), temporaries, meter, faults);
    CopyWorkers workers(workerCount);
    TreeCopier walk(target, observer, failures, temporaries, meter, writer, workers);
    if ((flags & kCopyFlagRenameOnCollision) != 0) {
        walk.copyAsNew(source, info, name);
    } else {
        walk.copyOver(source, info, name);
    }
    // Every job was waited for by its folder; the threads end here, before the run goes on to
    // its record.
    workers.join();
    // The guarantee: a copy that returns success has everything it wrote on the destination's
    // disk, so a run logged "ok" outlives a power cut. On Linux new files are written without a
    // flush each and this one syncfs of the destination's volume covers them all (replacements
    // had one before their batch's renames, CopyReplacements); on Windows, where a user cannot
    // flush a volume, every file was flushed as it was written (fs::kFlushEachFile).
    if (walk.writes() > 0 && !failures.stopped()) {
        if (const fs::OsCode code = writer.flush(); code != fs::kOsOk) {
            failures.nextStep();
            failures.report(failure("Was die Sicherung in den Zielordner '" + destination +
                                        kNotFlushed + fs::osErrorReason(code),
                                    destination));
        }
    }
    return failures.result();
}

}  // namespace vaultrix
