#include "engine/CopyDestination.h"

#include <utility>
#include <vector>

#include "engine/AttributeProbe.h"
#include "engine/NameTraitsProbe.h"
#include "platform/SystemNames.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;
using fs::OsCode;

constexpr const char* kDestinationGone =
    "Er wurde während der Sicherung entfernt oder umbenannt, oder sein Laufwerk wurde getrennt. "
    "Was danach noch zu sichern war, wurde nicht gesichert.";
constexpr const char* kDanglingLink =
    "Er ist eine Verknüpfung auf einen Ordner, den es nicht gibt (ihr Laufwerk ist nicht "
    "verbunden, oder ihr Ziel wurde gelöscht oder verschoben). Bitte verbinden Sie das Laufwerk "
    "oder wählen Sie einen anderen Zielordner.";

Error destinationFailure(const std::string& path, const std::string& reason) {
    return failure("Der Zielordner '" + path + "' ist nicht verfügbar: " + reason, path);
}

std::string notConnected(const std::string& volume) {
    return "Das Laufwerk oder der Netzwerkordner '" + volume + "' ist nicht verbunden";
}

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

// An empty folder on the same volume as the folder above it: how a mount point looks while
// its drive is absent. A mounted drive's root, even an empty one, lies on a volume of its own.
bool looksUnmounted(const std::string& folder) {
    const std::string above = parentOf(folder);
    std::vector<std::string> names;
    if (above.empty() || fs::listFolder(folder, names) != kOsOk || !names.empty()) return false;
    EntryInfo inner;
    EntryInfo outer;
    return fs::statEntry(folder, inner, true) == kOsOk &&
           fs::statEntry(above, outer, true) == kOsOk && inner.device == outer.device;
}

}  // namespace

CopyDestination::CopyDestination(std::string given)
    : given_(std::move(given)), path_(fs::normalisePath(given_)) {}

Result<> CopyDestination::prepare(CopyFaults& system) {
    if (const std::string absent = fs::absentVolume(path_, system.mountTable()); !absent.empty())
        return destinationFailure(given_, notConnected(absent));
    if (const OsCode code = fs::statEntry(path_, info_, true); code != kOsOk)
        return destinationFailure(given_, fs::osErrorReason(code));
    if (info_.kind == EntryKind::Missing) {
        EntryInfo link;
        if (fs::statEntry(path_, link) == kOsOk && link.kind == EntryKind::Link)
            return destinationFailure(given_, kDanglingLink);
        if (const std::string parent = parentOf(path_); looksUnmounted(parent))
            return missingBelowEmptyFolder(given_, parent);
        if (const std::string problem = fs::systemNameProblem(fs::lastName(path_));
            !problem.empty())
            return failure(
                "Der Zielordner '" + given_ + "' kann so nicht angelegt werden: " + problem,
                given_);
        if (const OsCode code = fs::makeFolder(path_); code != kOsOk)
            return destinationFailure(given_, fs::osErrorReason(code));
        if (const OsCode code = fs::statEntry(path_, info_); code != kOsOk)
            return destinationFailure(given_, fs::osErrorReason(code));
    } else if (info_.kind != EntryKind::Folder) {
        return destinationFailure(given_, "Der Pfad ist kein Ordner");
    }
    probeNameTraits(path_, traits_);
    probeAttributes(path_, traits_);
    traits_ = system.destinationTraits(traits_);
    return success();
}

std::optional<Error> CopyDestination::gone() const {
    if (info_.kind == EntryKind::Missing) return std::nullopt;
    EntryInfo now;
    if (fs::statEntry(path_, now, true) == kOsOk && now.sameEntryAs(info_)) return std::nullopt;
    return destinationFailure(given_, kDestinationGone);
}

}  // namespace vaultrix
