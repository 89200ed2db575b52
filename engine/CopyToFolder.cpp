#include "engine/CopyToFolder.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "engine/CopyToFolderNames.h"
#include "platform/FileCopy.h"
#include "platform/TemporaryFiles.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;
using fs::OsCode;

// An entry in the making is marked as changed this often, so it never looks left behind.
constexpr std::chrono::hours kInUseMarkEvery{1};

constexpr const char* kNoName = "Der Pfad nennt keinen Datei- oder Ordnernamen";
constexpr const char* kRoot =
    "Ein Laufwerk oder Wurzelordner kann nicht als Ganzes gesichert werden";
constexpr const char* kSpecial =
    "Die Quelle ist keine Datei und kein Ordner, sondern ein Gerät, eine Pipe oder ein Socket";

class NoFaults final : public CopyFaults {
public:
    OsCode afterChunk(std::uint64_t) override { return kOsOk; }
};

Error copyFailure(const std::string& path, const std::string& reason) {
    return failure("'" + path + "' konnte nicht kopiert werden: " + reason, path);
}

Error destinationFailure(const std::string& path, const std::string& reason) {
    return failure("Der Zielordner '" + path + "' ist nicht verfügbar: " + reason, path);
}

std::string notConnected(const std::string& volume) {
    return "Das Laufwerk oder der Netzwerkordner '" + volume + "' ist nicht verbunden";
}

constexpr const char* kDestinationGone =
    "Er wurde während der Sicherung entfernt oder umbenannt, oder sein Laufwerk wurde getrennt. "
    "Was danach noch zu sichern war, wurde nicht gesichert.";
constexpr const char* kDanglingLink =
    "Er ist eine Verknüpfung auf einen Ordner, den es nicht gibt (ihr Laufwerk ist nicht "
    "verbunden, oder ihr Ziel wurde gelöscht oder verschoben). Bitte verbinden Sie das Laufwerk "
    "oder wählen Sie einen anderen Zielordner.";

// A missing destination is not made in an empty folder: that is how an absent drive's mount
// point looks. Says what is the case and what the user can do.
Error missingBelowEmptyFolder(const std::string& destination, const std::string& parent) {
    return failure("Der Zielordner '" + destination + "' fehlt, und der Ordner '" + parent +
                       "' darüber ist leer. So sieht ein Laufwerk aus, das nicht verbunden ist; "
                       "deshalb wird der Zielordner nicht angelegt.\n\nBitte verbinden Sie das "
                       "Laufwerk. Soll der Zielordner dort neu angelegt werden, erstellen Sie ihn "
                       "im Editor: den Ordner darüber als Ziel wählen und mit der rechten "
                       "Maustaste auf das Ziel „Ordner erstellen“.",
                   destination);
}

// The folder above a normalised path; empty for a root.
std::string parentOf(const std::string& path) {
    const std::string name = fs::lastName(path);
    if (!fs::isEntryName(name)) return {};
    const std::string rest = path.substr(0, path.size() - name.size());
    return rest.empty() ? "." : fs::normalisePath(rest);
}

// Temporary entries are removed quietly: what stays behind is cleared by a later run.
void discard(const std::string& path) {
    static_cast<void>(fs::removeTree(path));
}

// One run of the copy: walks the source as a stream, folder by folder, so memory stays
// bounded by one folder's names per level whatever the size of the tree. Each step reports its
// own failures and returns whether its entry now stands at the target.
class TreeCopier final : private fs::ChunkHook {
public:
    TreeCopier(unsigned flags, CopyObserver& observer, CopyFaults& faults)
        : newCopy_((flags & kCopyFlagRenameOnCollision) != 0),
          observer_(observer),
          faults_(faults),
          random_(static_cast<std::uint32_t>(
              std::chrono::steady_clock::now().time_since_epoch().count() ^
              reinterpret_cast<std::uintptr_t>(this))),
          self_(thisProgram()),
          lastInUseMark_(std::chrono::steady_clock::now()) {}

    Result<> run(const std::string& source, const std::string& destination) {
        copySource(source, destination);
        if (first_) return *first_;
        return success();
    }

private:
    void copySource(const std::string& givenSource, const std::string& givenDestination) {
        // Resolved by the text, so "…/Daten/.." names the parent folder, never an entry "..".
        const std::string source = fs::normalisePath(givenSource);
        const std::string name = fs::lastName(source);
        if (!fs::isEntryName(name)) {
            fail(givenSource, name.empty() && !source.empty() ? kRoot : kNoName);
            return;
        }
        EntryInfo info;
        if (const OsCode code = fs::statEntry(source, info); code != kOsOk) {
            fail(givenSource, code);
            return;
        }
        if (info.kind == EntryKind::Missing) {
            fail(givenSource, "Datei oder Ordner nicht gefunden");
            return;
        }
        if (info.kind == EntryKind::Special) {
            fail(givenSource, kSpecial);
            return;
        }
        const std::string destination = fs::normalisePath(givenDestination);
        givenDestination_ = givenDestination;
        destinationPath_ = destination;
        if (!prepareDestination(givenDestination, destination)) return;
        // Same file identity, not only the same text: another path to the folder is refused too.
        if (info.sameEntryAs(destination_)) {
            report(failure(kSameSourceAndDestination, givenSource));
            return;
        }
        if (newCopy_) {
            copyAsNew(source, info, destination, name);
            return;
        }
        EntryInfo target;
        if (const OsCode code = fs::statEntry(fs::joinPath(destination, name), target);
            code != kOsOk) {
            fail(source, code);
            return;
        }
        copyEntry(source, info, destination, name, target);
    }

    // An absent drive leaves its mount point as an empty folder on the system disk: a backup
    // written there would fill that disk and vanish under the drive when it comes back. So
    // nothing is written below a configured mount point that is not mounted, and a missing
    // destination is not made in an empty folder that is no mounted volume's root.
    bool prepareDestination(const std::string& given, const std::string& destination) {
        if (const std::string absent = fs::absentVolume(destination, faults_.mountTable());
            !absent.empty()) {
            return report(destinationFailure(given, notConnected(absent)));
        }
        if (const OsCode code = fs::statEntry(destination, destination_, true); code != kOsOk)
            return report(destinationFailure(given, fs::osErrorReason(code)));
        if (destination_.kind == EntryKind::Missing) {
            EntryInfo link;
            if (fs::statEntry(destination, link) == kOsOk && link.kind == EntryKind::Link)
                return report(destinationFailure(given, kDanglingLink));
            if (const std::string parent = parentOf(destination); looksUnmounted(parent))
                return report(missingBelowEmptyFolder(given, parent));
            if (const OsCode code = fs::makeFolder(destination); code != kOsOk)
                return report(destinationFailure(given, fs::osErrorReason(code)));
            if (const OsCode code = fs::statEntry(destination, destination_); code != kOsOk)
                return report(destinationFailure(given, fs::osErrorReason(code)));
            return true;
        }
        if (destination_.kind != EntryKind::Folder)
            return report(destinationFailure(given, "Der Pfad ist kein Ordner"));
        clearLeftovers(destination);
        return true;
    }

    // Whether the destination folder this run writes into is no longer there: removed, renamed
    // or replaced, or its drive gone.
    bool destinationGone() {
        if (destination_.kind == EntryKind::Missing) return false;
        EntryInfo now;
        return fs::statEntry(destinationPath_, now, true) != kOsOk ||
               !now.sameEntryAs(destination_);
    }

    // An empty folder on the same volume as the folder above it: how a mount point looks while
    // its drive is absent. A mounted drive's root, even an empty one, lies on a volume of its own.
    bool looksUnmounted(const std::string& folder) {
        const std::string above = parentOf(folder);
        if (above.empty() || fs::listFolder(folder, scratch_) != kOsOk || !scratch_.empty())
            return false;
        EntryInfo inner;
        EntryInfo outer;
        return fs::statEntry(folder, inner, true) == kOsOk &&
               fs::statEntry(above, outer, true) == kOsOk && inner.device == outer.device;
    }

    // A new copy is built under a temporary name and named only once it is whole, so a run cut
    // short leaves nothing that looks like a complete copy; the next run clears it away.
    void copyAsNew(const std::string& source, const EntryInfo& info, const std::string& destination,
                   const std::string& name) {
        const std::optional<std::string> built =
            copyUnderTemporaryName(source, info, destination, name);
        if (!built) return;
        const std::string& temporary = *built;
        for (unsigned number = 0;; ++number) {
            const std::string target = fs::joinPath(
                destination,
                number == 0 ? name : newCopyName(name, info.kind == EntryKind::Folder, number));
            EntryInfo existing;
            if (const OsCode code = fs::statEntry(target, existing); code != kOsOk) {
                fail(source, code);
                break;
            }
            if (existing.kind != EntryKind::Missing) continue;
            const OsCode renamed = fs::renameNew(temporary, target);
            if (renamed == kOsOk) return;
            // Another program took the name in the meantime: the next one.
            if (fs::statEntry(target, existing) == kOsOk && existing.kind != EntryKind::Missing)
                continue;
            fail(source, renamed);
            break;
        }
        discard(temporary);
    }

    // Copies the entry whole into `folder` under a new temporary name and gives its path; a
    // copy that fails is removed again and gives nothing.
    std::optional<std::string> copyUnderTemporaryName(const std::string& source,
                                                      const EntryInfo& info,
                                                      const std::string& folder,
                                                      const std::string& name) {
        const std::string temporaryName = newTemporaryName(name);
        const std::string temporary = fs::joinPath(folder, temporaryName);
        building_ = temporary;
        const bool copied = copyEntry(source, info, folder, temporaryName, EntryInfo{});
        building_.clear();
        if (copied) return temporary;
        discard(temporary);
        return std::nullopt;
    }

    bool copyEntry(const std::string& source, const EntryInfo& info, const std::string& folder,
                   const std::string& name, const EntryInfo& target) {
        switch (info.kind) {
            case EntryKind::File:
                return copyFile(source, info, folder, name, target);
            case EntryKind::Folder:
                return copyFolder(source, info, folder, name, target);
            case EntryKind::Link:
                return copyLink(source, info, folder, name, target);
            case EntryKind::Special:  // sockets, FIFOs and devices inside a folder are left out
            case EntryKind::Missing:
                break;
        }
        return true;
    }

    bool copyFolder(const std::string& source, const EntryInfo& info, const std::string& folder,
                    const std::string& name, const EntryInfo& target) {
        if (target.kind != EntryKind::Missing && target.kind != EntryKind::Folder)
            return replaceByOtherKind(source, info, folder, name);
        const std::string targetPath = fs::joinPath(folder, name);
        const bool fresh = target.kind == EntryKind::Missing;
        const std::uint64_t writesBefore = writes_;
        bool attributesChanged =
            fresh || target.permissions != info.permissions || target.modifiedNs != info.modifiedNs;
        if (fresh) {
            if (const OsCode code = fs::makeFolder(targetPath); code != kOsOk)
                return fail(source, code);
            ++writes_;
        } else {
            clearLeftovers(targetPath);
            if (!fs::folderWritable(target)) {
                if (const OsCode code = fs::makeFolderWritable(targetPath, target); code != kOsOk)
                    return fail(source, code);
                attributesChanged = true;
            }
        }
        if (top_.kind == EntryKind::Missing) {
            if (const OsCode code = fs::statEntry(targetPath, top_); code != kOsOk)
                return fail(source, code);
        }

        std::vector<std::string> names;
        if (const OsCode code = fs::listFolder(source, names); code != kOsOk)
            return fail(source, code);
        for (const std::string& childName : names) {
            const std::string child = fs::joinPath(source, childName);
            if (!stopped_ && observer_.cancelRequested()) fail(child, fs::kOsCancelled);
            if (stopped_) return false;
            EntryInfo childInfo;
            if (const OsCode code = fs::statEntry(child, childInfo); code != kOsOk) {
                fail(child, code);
                continue;
            }
            // Gone since the listing (a program's temporary file): nothing left to back up.
            if (childInfo.kind == EntryKind::Missing || childInfo.kind == EntryKind::Special)
                continue;
            // The destination, or the copy being made, inside the source: never copy into itself.
            if (childInfo.sameEntryAs(destination_) || childInfo.sameEntryAs(top_)) continue;
            EntryInfo childTarget;
            if (!fresh) {
                if (const OsCode code =
                        fs::statEntry(fs::joinPath(targetPath, childName), childTarget);
                    code != kOsOk) {
                    fail(child, code);
                    continue;
                }
            }
            copyEntry(child, childInfo, targetPath, childName, childTarget);
        }
        if (stopped_) return false;
        // Last, because every entry written changes the folder's time.
        if (attributesChanged || writes_ != writesBefore) {
            if (const OsCode code = fs::applyAttributes(targetPath, info); code != kOsOk)
                return fail(source, code);
        }
        return true;
    }

    bool copyFile(const std::string& source, const EntryInfo& info, const std::string& folder,
                  const std::string& name, const EntryInfo& target) {
        switch (target.kind) {
            case EntryKind::Missing:
                return writeEntry(source, info, folder, name, false, false, false);
            case EntryKind::File:
                if (target.sameEntryAs(info)) break;  // the source lies inside its own backup
                if (target.size == info.size && target.modifiedNs == info.modifiedNs) {
                    // Already current; only changed permissions are brought over.
                    if (target.permissions != info.permissions) {
                        const std::string targetPath = fs::joinPath(folder, name);
                        if (const OsCode code = fs::applyAttributes(targetPath, info);
                            code != kOsOk) {
                            return fail(source, code);
                        }
                    }
                    break;
                }
                // The new data reach the disk before they replace the older backup.
                return writeEntry(source, info, folder, name, false, true, true);
            case EntryKind::Link:
            case EntryKind::Special:
                return writeEntry(source, info, folder, name, false, true, false);
            case EntryKind::Folder:
                return replaceByOtherKind(source, info, folder, name);
        }
        fileDone(info.size);
        return true;
    }

    bool copyLink(const std::string& source, const EntryInfo& info, const std::string& folder,
                  const std::string& name, const EntryInfo& target) {
        switch (target.kind) {
            case EntryKind::Missing:
                return writeEntry(source, info, folder, name, true, false, false);
            case EntryKind::File:
            case EntryKind::Special:
                return writeEntry(source, info, folder, name, true, true, false);
            case EntryKind::Link:
                // A link's size is the length of what it points to; with its time that marks
                // an unchanged link, as for files.
                if (target.size == info.size && target.modifiedNs == info.modifiedNs) break;
                return writeEntry(source, info, folder, name, true, true, false);
            case EntryKind::Folder:
                return replaceByOtherKind(source, info, folder, name);
        }
        fileDone(0);
        return true;
    }

    // An entry whose kind changed (a file became a folder, or the other way round): the new
    // one is written whole under a temporary name and takes the old one's place before the old
    // one is removed, so a failure on the way leaves the older backup as it was.
    bool replaceByOtherKind(const std::string& source, const EntryInfo& info,
                            const std::string& folder, const std::string& name) {
        const std::optional<std::string> built = copyUnderTemporaryName(source, info, folder, name);
        if (!built) return false;
        const std::string& temporary = *built;
        const std::string spare = fs::joinPath(folder, newTemporaryName(name));
        if (const OsCode code = fs::exchangeEntries(temporary, fs::joinPath(folder, name), spare);
            code != kOsOk) {
            discard(temporary);
            return fail(source, code);
        }
        discard(temporary);  // the older entry, now under the temporary name
        ++writes_;
        return true;
    }

    // A new item is written in place: should the run be cut short, the partial file lacks
    // the source's time and the next run copies it again. An existing item is replaced
    // through a temporary file beside it and one rename, so the target is always either the
    // older backup or the complete new one.
    bool writeEntry(const std::string& source, const EntryInfo& info, const std::string& folder,
                    const std::string& name, bool link, bool replace, bool syncData) {
        const std::string target = fs::joinPath(folder, name);
        fileBytes_ = 0;
        const std::string written = replace ? fs::joinPath(folder, newTemporaryName(name)) : target;
        const OsCode copied = link ? fs::copyLink(source, written)
                                   : fs::copyFileData(source, written, syncData, *this, context_);
        if (copied != kOsOk) return fail(source, copied);
        if (replace) {
            if (const OsCode code = fs::replaceEntry(written, target); code != kOsOk) {
                fs::removeQuietly(written);
                return fail(source, code);
            }
        }
        ++writes_;
        // The holes of a sparse file are not moved, yet they are done: the run's numbers reach
        // the size its counting walk found.
        fileDone(link || fileBytes_ >= info.size ? 0 : info.size - fileBytes_);
        return true;
    }

    // Removes what earlier runs left under temporary names in a folder we write to. Another
    // program's entry in the making is left alone.
    void clearLeftovers(const std::string& folder) {
        if (fs::listFolder(folder, scratch_) != kOsOk) return;  // writing will report the cause
        for (const std::string& name : scratch_) {
            const std::optional<TemporaryOwner> owner = temporaryOwner(name);
            if (!owner) continue;
            const std::string path = fs::joinPath(folder, name);
            if (!leftBehind(path, *owner, self_)) continue;
            discard(path);
            ++writes_;
        }
    }

    std::string newTemporaryName(const std::string& name) {
        return temporaryName(name, self_, random_());
    }

    // Keeps a long copy's temporary entry from looking like a leftover to other programs.
    void markInUse() {
        if (building_.empty()) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - lastInUseMark_ < kInUseMarkEvery) return;
        lastInUseMark_ = now;
        static_cast<void>(fs::markChanged(building_));
    }

    void fileDone(std::uint64_t bytesLeftAlone) {
        ++progress_.filesDone;
        progress_.bytesDone += bytesLeftAlone;
        unreported_ = 0;
        observer_.onProgress(progress_);
        markInUse();
    }

    OsCode afterChunk(std::uint64_t bytes) override {
        bytesWritten_ += bytes;
        fileBytes_ += bytes;
        progress_.bytesDone += bytes;
        unreported_ += bytes;
        if (const OsCode code = faults_.afterChunk(bytesWritten_); code != kOsOk) return code;
        if (observer_.cancelRequested()) return fs::kOsCancelled;
        if (unreported_ >= fs::kCopyChunkBytes) {
            unreported_ = 0;
            observer_.onProgress(progress_);
            markInUse();
        }
        return kOsOk;
    }

    bool report(Error error) {
        observer_.onFailure(error);
        if (!first_) first_ = std::move(error);
        return false;
    }

    bool fail(const std::string& path, const std::string& reason) {
        return report(copyFailure(path, reason));
    }

    // A full disk, a read-only volume, a destination gone or a cancel ends the walk: nothing
    // further could be written. A destination gone is said once, not for every entry left.
    bool fail(const std::string& path, OsCode code) {
        if (fs::entryNotFound(code) && destinationGone()) {
            stopped_ = true;
            return report(destinationFailure(givenDestination_, kDestinationGone));
        }
        if (code == fs::kOsCancelled || fs::destinationExhausted(code)) stopped_ = true;
        return fail(path, fs::osErrorReason(code));
    }

    const bool newCopy_;
    CopyObserver& observer_;
    CopyFaults& faults_;
    std::mt19937 random_;
    const TemporaryOwner self_;
    fs::CopyContext context_;
    CopyProgress progress_;
    std::uint64_t bytesWritten_ = 0;
    std::uint64_t fileBytes_ = 0;  // moved of the file being written
    std::uint64_t unreported_ = 0;
    std::uint64_t writes_ = 0;  // entries made, replaced or removed in the target folders
    std::string givenDestination_;
    std::string destinationPath_;
    EntryInfo destination_;  // never walked into when it lies inside the source
    EntryInfo top_;          // the folder the source lands in, likewise
    std::string building_;   // the temporary entry being written, if any
    std::chrono::steady_clock::time_point lastInUseMark_;
    std::optional<Error> first_;
    bool stopped_ = false;
    std::vector<std::string> scratch_;
};

}  // namespace

Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer) {
    NoFaults none;
    return CopyToFolderWithFaults(source, destination, flags, observer, none);
}

Result<> CopyToFolderWithFaults(const std::string& source, const std::string& destination,
                                unsigned flags, CopyObserver& observer, CopyFaults& faults) {
    TreeCopier copier(flags, observer, faults);
    return copier.run(source, destination);
}

}  // namespace vaultrix
