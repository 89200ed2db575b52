#include "platform/VolumeFormat.h"

#include <array>
#include <sstream>
#include <utility>

#include "platform/Volumes.h"

namespace vaultrix::fs {

VolumeFormat formatOfMountType(std::string_view type) {
    static constexpr std::array<std::pair<std::string_view, VolumeFormat>, 16> kTypes{{
        {"vfat", VolumeFormat::fat},
        {"msdos", VolumeFormat::fat},
        {"fat", VolumeFormat::fat},
        {"umsdos", VolumeFormat::fat},
        {"fuse.fusefat", VolumeFormat::fat},
        {"exfat", VolumeFormat::exfat},
        {"fuse.exfat", VolumeFormat::exfat},
        {"fuse.exfat-fuse", VolumeFormat::exfat},
        {"ntfs", VolumeFormat::ntfs},
        {"ntfs3", VolumeFormat::ntfs},
        {"fuse.ntfs-3g", VolumeFormat::ntfs},
        {"fuse.lowntfs-3g", VolumeFormat::ntfs},
        {"cifs", VolumeFormat::smb},
        {"smb3", VolumeFormat::smb},
        {"smbfs", VolumeFormat::smb},
        {"fuse.smbnetfs", VolumeFormat::smb},
    }};
    for (const auto& [name, format] : kTypes) {
        if (name == type) return format;
    }
    return VolumeFormat::unknown;
}

VolumeFormat formatOfBootSector(std::string_view bytes) {
    if (bytes.size() < 90) return VolumeFormat::unknown;
    if (bytes.substr(3, 8) == "NTFS    ") return VolumeFormat::ntfs;
    if (bytes.substr(3, 8) == "EXFAT   ") return VolumeFormat::exfat;
    if (bytes.substr(82, 8) == "FAT32   " || bytes.substr(54, 3) == "FAT") return VolumeFormat::fat;
    return VolumeFormat::unknown;
}

bool findMountOfDevice(const std::string& mountinfo, unsigned major, unsigned minor,
                       std::string& type, std::string& source) {
    const std::string device = std::to_string(major) + ":" + std::to_string(minor);
    bool found = false;
    std::istringstream lines(mountinfo);
    std::string line;
    // "36 35 98:0 /root /mnt/point options [optional fields] - type source super-options"
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id;
        std::string parent;
        std::string numbers;
        if (!(fields >> id >> parent >> numbers) || numbers != device) continue;
        std::string field;
        while (fields >> field && field != "-") {
        }
        std::string mountType;
        std::string mountSource;
        if (!(fields >> mountType >> mountSource)) continue;
        type = decodeEscapes(mountType);
        source = decodeEscapes(mountSource);
        found = true;
    }
    return found;
}

}  // namespace vaultrix::fs
