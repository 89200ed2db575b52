#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/VolumeFormat.h"

namespace vaultrix::fs {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What udev found on the block device, from its record (readable by every user).
VolumeFormat formatFromUdev(dev_t device) {
    const std::string record = readText("/run/udev/data/b" + std::to_string(::major(device)) + ":" +
                                        std::to_string(::minor(device)));
    const std::string key = "E:ID_FS_TYPE=";
    const std::size_t at = record.find(key);
    if (at == std::string::npos) return VolumeFormat::unknown;
    const std::size_t end = record.find('\n', at);
    const std::string type = record.substr(at + key.size(), end - at - key.size());
    return formatOfMountType(type);
}

// What the first sector of the device or image file says, where this user may read it.
VolumeFormat formatFromBootSector(const std::string& source) {
    const int fd = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return VolumeFormat::unknown;
    char sector[90];
    const ssize_t length = ::pread(fd, sector, sizeof sector, 0);
    ::close(fd);
    if (length != static_cast<ssize_t>(sizeof sector)) return VolumeFormat::unknown;
    return formatOfBootSector(std::string_view(sector, sizeof sector));
}

}  // namespace

VolumeFormat volumeFormat(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return VolumeFormat::unknown;
    std::string type;
    std::string source;
    if (!findMountOfDevice(readText("/proc/self/mountinfo"), ::major(st.st_dev), ::minor(st.st_dev),
                           type, source)) {
        return VolumeFormat::unknown;
    }
    if (type != "fuse" && type != "fuseblk") return formatOfMountType(type);
    // Only a device or an image file is read: another source may be a network address.
    struct stat from {};
    if (source.empty() || source[0] != '/' || ::stat(source.c_str(), &from) != 0)
        return VolumeFormat::unknown;
    if (S_ISBLK(from.st_mode)) {
        if (const VolumeFormat format = formatFromUdev(from.st_rdev);
            format != VolumeFormat::unknown) {
            return format;
        }
    } else if (!S_ISREG(from.st_mode)) {
        return VolumeFormat::unknown;
    }
    return formatFromBootSector(source);
}

bool windowsNameRules(VolumeFormat format) {
    return format != VolumeFormat::unknown;
}

}  // namespace vaultrix::fs
