#include "engine/DestinationRefusals.h"

#include "common/NameFolding.h"
#include "common/WindowsNames.h"

namespace vaultrix {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

constexpr const char* kNoLinks =
    "Sie ist eine symbolische Verknüpfung, und das Dateisystem des Ziels kann keine "
    "Verknüpfungen speichern.";

// "4 GB" for FAT32's 4 GiB less one byte; the bytes themselves for an odd limit.
std::string sizeText(std::uint64_t largest) {
    if ((largest + 1) % kGiB == 0) return std::to_string((largest + 1) / kGiB) + " GB";
    return std::to_string(largest) + " Bytes";
}

}  // namespace

std::string destinationRefusal(const DestinationTraits& traits, const std::string& name,
                               const fs::EntryInfo& info) {
    if (traits.windowsNames) {
        if (std::string problem = windowsNameProblem(name); !problem.empty())
            return problem + " Das Dateisystem des Ziels kann ihn nicht speichern.";
    }
    if (info.kind == fs::EntryKind::File && info.size > traits.largestFile) {
        return "Die Datei ist zu groß für das Ziel: Sein Dateisystem hält nur Dateien bis " +
               sizeText(traits.largestFile) + ".";
    }
    if (info.kind == fs::EntryKind::Link && !traits.holdsLinks) return kNoLinks;
    return {};
}

std::string TargetFolderNames::take(const std::string& name) {
    if (!foldsCase_) return {};
    const auto [at, fresh] = taken_.try_emplace(foldedName(name), name);
    if (fresh) return {};
    return "Im Ziel trägt „" + at->second + "“ denselben Namen wie „" + name +
           "“, denn das Ziel unterscheidet Groß- und Kleinschreibung nicht. Gesichert wurde „" +
           at->second + "“.";
}

}  // namespace vaultrix
