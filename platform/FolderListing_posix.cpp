#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/FolderListing.h"
#include "platform/PathExists.h"
#include "platform/Volumes.h"

namespace vaultrix::fs {
namespace {

// The folders below which removable and other volumes are mounted.
constexpr const char* kVolumeFolders[] = {"/media/", "/mnt/", "/run/media/"};

// The home folder from the user database: the program reads no environment variables.
std::string homeFolder() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return errno;
    const int descriptor = ::dirfd(folder);
    OsCode code = kOsOk;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (entry == nullptr) {
            code = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        bool isFolder = entry->d_type == DT_DIR;
        // A link, or a file system that leaves the type open, is asked what it is.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            isFolder = ::fstatat(descriptor, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(FolderEntry{entry->d_name, isFolder});
    }
    ::closedir(folder);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return code;
}

std::vector<std::string> volumeRoots() {
    std::vector<std::string> candidates = {"/", homeFolder()};
    for (const std::string& point : readMountTable().mounted) {
        const std::string mounted = normalisePath(point);
        for (const char* below : kVolumeFolders) {
            if (mounted.size() > std::strlen(below) && mounted.starts_with(below)) {
                candidates.push_back(mounted);
            }
        }
    }
    std::vector<std::string> roots;
    for (const std::string& candidate : candidates) {
        if (!candidate.empty() && PathExists(candidate)) roots.push_back(normalisePath(candidate));
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

}  // namespace vaultrix::fs
