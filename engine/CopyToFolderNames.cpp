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

}  // namespace vaultrix
