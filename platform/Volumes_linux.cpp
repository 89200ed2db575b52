#include <algorithm>
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

}  // namespace

MountTable readMountTable() {
    return MountTable{parseMountPoints(readText("/etc/fstab")),
                      parseMountPoints(readText("/proc/self/mounts"))};
}

std::string absentVolume(const std::string& path, const MountTable& table) {
    for (const std::string& configured : table.configured) {
        const std::string point = normalisePath(configured);
        if (point.size() < 2 || point[0] != '/' || !isAtOrAbove(point, path)) continue;
        const bool mounted =
            std::any_of(table.mounted.begin(), table.mounted.end(),
                        [&](const std::string& m) { return normalisePath(m) == point; });
        if (!mounted) return point;
    }
    return {};
}

}  // namespace vaultrix::fs
