#include "platform/FileSystem_win.h"
#include "platform/Volumes.h"

namespace vaultrix::fs {

MountTable readMountTable() {
    return {};
}

std::string absentVolume(const std::string& path, const MountTable&) {
    const std::size_t length = rootLength(path);
    if (length < 3) return {};  // a relative path or "C:" alone names no volume of its own
    std::string root = path.substr(0, length);
    if (root.back() != '\\') root += '\\';
    const std::wstring wide = toWide(root);
    if (GetDriveTypeW(wide.c_str()) == DRIVE_NO_ROOT_DIR) return root;
    // A disconnected network drive keeps its letter, and a card reader without a card its drive.
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() != ERROR_ACCESS_DENIED) {
        return root;
    }
    return {};
}

}  // namespace vaultrix::fs
