#include "platform/FolderListing.h"

namespace vaultrix::fs {

bool isFolderPath(const std::string& path) {
    EntryInfo info;
    return !path.empty() && statEntry(path, info, true) == kOsOk && info.kind == EntryKind::Folder;
}

bool isRootPath(const std::string& path) {
    const std::string normalised = normalisePath(path);
    return !normalised.empty() && normalised != "." && lastName(normalised).empty();
}

}  // namespace vaultrix::fs
