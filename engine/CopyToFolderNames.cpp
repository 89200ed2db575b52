#include "engine/CopyToFolderNames.h"

#include "common/Text.h"
#include "platform/FileSystem.h"

namespace vaultrix {

std::string newCopyName(const std::string& name, bool isFolder, unsigned number) {
    const std::size_t dot = name.rfind('.');
    const bool keepWhole = isFolder || dot == std::string::npos || dot == 0;
    const std::string stem = keepWhole ? name : name.substr(0, dot);
    const std::string extension = keepWhole ? std::string() : name.substr(dot);
    std::string suffix = " - Kopie";
    if (number > 1) suffix += " (" + std::to_string(number) + ")";
    const std::size_t tail = suffix.size() + extension.size();
    const std::size_t room = fs::kMaxNameBytes > tail ? fs::kMaxNameBytes - tail : 1;
    return shortenUtf8(stem, room) + suffix + extension;
}

fs::OsCode nameNewCopy(const std::string& temporary, const std::string& folder,
                       const std::string& name, bool isFolder) {
    for (unsigned number = 0;; ++number) {
        const std::string target =
            fs::joinPath(folder, number == 0 ? name : newCopyName(name, isFolder, number));
        fs::EntryInfo existing;
        if (const fs::OsCode code = fs::statEntry(target, existing); code != fs::kOsOk) return code;
        if (existing.kind != fs::EntryKind::Missing) continue;
        const fs::OsCode renamed = fs::renameNew(temporary, target);
        if (renamed == fs::kOsOk) return fs::kOsOk;
        // Another program took the name in the meantime: the next one.
        if (fs::statEntry(target, existing) == fs::kOsOk &&
            existing.kind != fs::EntryKind::Missing) {
            continue;
        }
        return renamed;
    }
}

}  // namespace vaultrix
