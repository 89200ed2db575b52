#include <pwd.h>
#include <unistd.h>

#include <algorithm>
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
