#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>

#include "platform/FileSystem.h"
#include "platform/Volumes.h"

namespace vaultrix::fs {
namespace {

std::string readText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isAtOrAbove(const std::string& folder, const std::string& path) {
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

// The longest chain of links followed, as the system allows (ELOOP beyond it).
constexpr int kMaxLinks = 40;

// The names of a path, "." and empty names left out.
std::vector<std::string> namesOf(const std::string& path) {
    std::vector<std::string> names;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t end = std::min(path.find('/', begin), path.size());
        if (end > begin && path.compare(begin, end - begin, ".") != 0)
            names.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return names;
}

// The absolute path with the links in its existing part followed, the part that does not exist
// appended as it is: where the path really leads, even when its end is a link to a folder of an
// absent drive. A relative path starts at the working folder.
std::string resolveLinks(const std::string& path) {
    std::string resolved = "/";
    if (path.empty() || path[0] != '/') {
        char working[PATH_MAX];
        if (::getcwd(working, sizeof working) == nullptr) return path;
        resolved = working;
    }
    std::vector<std::string> rest = namesOf(path);
    std::reverse(rest.begin(), rest.end());  // the next name last
    int links = 0;
    while (!rest.empty()) {
        const std::string name = rest.back();
        rest.pop_back();
        if (name == "..") {
            resolved = normalisePath(resolved + "/..");
            continue;
        }
        const std::string next = joinPath(resolved, name);
        struct stat st {};
        if (::lstat(next.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || ++links > kMaxLinks) {
            resolved = next;
            continue;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(next.c_str(), target.data(), target.size());
        if (length <= 0) {
            resolved = next;
            continue;
        }
        target.resize(static_cast<std::size_t>(length));
        if (target[0] == '/') resolved = "/";
        const std::vector<std::string> inner = namesOf(target);
        rest.insert(rest.end(), inner.rbegin(), inner.rend());
    }
    return normalisePath(resolved);
}

}  // namespace

MountTable readMountTable() {
    return MountTable{parseMountPoints(readText("/etc/fstab")),
                      parseMountPoints(readText("/proc/self/mounts"))};
}

// Both the path and the configured mount points are compared as the system resolves them, so
// a link to an absent drive's folder is caught, and a drive configured under a path with a link
// in it is found among the mounted ones, which the system lists resolved.
std::string absentVolume(const std::string& path, const MountTable& table) {
    const auto mounted = [&](const std::string& point) {
        return std::any_of(table.mounted.begin(), table.mounted.end(),
                           [&](const std::string& m) { return normalisePath(m) == point; });
    };
    std::string resolvedPath;
    for (const std::string& configured : table.configured) {
        const std::string point = normalisePath(configured);
        if (point.size() < 2 || point[0] != '/' || mounted(point)) continue;
        // Only a point not mounted by its text is looked at: a mounted share that hangs never
        // holds the check up.
        const std::string resolvedPoint = resolveLinks(point);
        if (mounted(resolvedPoint)) continue;
        if (resolvedPath.empty()) resolvedPath = resolveLinks(path);
        if (isAtOrAbove(point, path) || isAtOrAbove(resolvedPoint, resolvedPath)) return point;
    }
    return {};
}

}  // namespace vaultrix::fs
