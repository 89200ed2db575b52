#include "platform/FolderListing.h"

#include <utility>

namespace vaultrix::fs {

OsCode listFolder(const std::string& path, std::vector<std::string>& names) {
    std::vector<FolderEntry> entries;
    const OsCode code = listFolderEntries(path, entries, false);
    names.clear();
    names.reserve(entries.size());
    for (FolderEntry& entry : entries) names.push_back(std::move(entry.name));
    return code;
}

bool isFolderPath(const std::string& path) {
    EntryInfo info;
    return !path.empty() && statEntry(path, info, true) == kOsOk && info.kind == EntryKind::Folder;
}

bool isRootPath(const std::string& path) {
    const std::string normalised = normalisePath(path);
    return !normalised.empty() && normalised != "." && lastName(normalised).empty();
}

}  // namespace vaultrix::fs
