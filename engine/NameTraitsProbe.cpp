#include "engine/NameTraitsProbe.h"

#include <cstdint>
#include <optional>

#include "engine/CopyTemporaries.h"
#include "platform/FileSystem.h"
#include "platform/VolumeFormat.h"

namespace vaultrix {
namespace {

using fs::VolumeFormat;

constexpr std::uint64_t kFatLargestFile = (std::uint64_t{4} << 30) - 1;

std::string asciiUpper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A folder made under a lower-case name and found again under the upper-case one. Identity by
// inode cannot tell: FUSE drivers give one entry another number under each spelling. Nothing
// when no folder can be made there.
std::optional<bool> foldsCaseByTrial(const std::string& folder, CopyTemporaries& names) {
    const std::string name = names.newName("case");
    const std::string probe = fs::joinPath(folder, name);
    if (fs::makeFolder(probe) != fs::kOsOk) return std::nullopt;
    fs::EntryInfo info;
    const bool folds = fs::statEntry(fs::joinPath(folder, asciiUpper(name)), info) == fs::kOsOk &&
                       info.kind == fs::EntryKind::Folder;
    CopyTemporaries::discard(probe);
    return folds;
}

// False only when the file system refuses links as such; any other failure is the copy's to
// report, link by link.
bool holdsLinksByTrial(const std::string& folder, CopyTemporaries& names) {
    const std::string probe = fs::joinPath(folder, names.newName("link"));
    const fs::OsCode code = fs::makeSymbolicLink("probe", probe);
    if (code == fs::kOsOk) fs::removeQuietly(probe);
    return !fs::linksRefused(code);
}

}  // namespace

void probeNameTraits(const std::string& folder, DestinationTraits& traits) {
    const VolumeFormat format = fs::volumeFormat(folder);
    CopyTemporaries names;
    traits.windowsNames = fs::windowsNameRules(format);
    traits.foldsCase = foldsCaseByTrial(folder, names)
                           .value_or(format == VolumeFormat::fat || format == VolumeFormat::exfat);
    traits.largestFile =
        format == VolumeFormat::fat ? kFatLargestFile : DestinationTraits{}.largestFile;
    traits.holdsLinks = holdsLinksByTrial(folder, names);
}

}  // namespace vaultrix
