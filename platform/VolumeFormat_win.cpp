#include <cwchar>

#include "platform/FileSystem_win.h"
#include "platform/VolumeFormat.h"

namespace vaultrix::fs {

VolumeFormat volumeFormat(const std::string& folder) {
    wchar_t root[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(extendedPath(folder).c_str(), root, MAX_PATH)) {
        return VolumeFormat::unknown;
    }
    if (GetDriveTypeW(root) == DRIVE_REMOTE) return VolumeFormat::smb;
    wchar_t system[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH)) {
        return VolumeFormat::unknown;
    }
    if (std::wcscmp(system, L"FAT") == 0 || std::wcscmp(system, L"FAT32") == 0)
        return VolumeFormat::fat;
    if (std::wcscmp(system, L"exFAT") == 0) return VolumeFormat::exfat;
    if (std::wcscmp(system, L"NTFS") == 0) return VolumeFormat::ntfs;
    return VolumeFormat::unknown;
}

bool windowsNameRules(VolumeFormat) {
    return true;
}

}  // namespace vaultrix::fs
