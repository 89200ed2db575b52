#include "platform/FileSystem_win.h"
#include "platform/PermissionProbe.h"

namespace vaultrix::fs {

OsCode makeEmptyFile(const std::string& path) {
    const HANDLE handle = CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return static_cast<OsCode>(GetLastError());
    CloseHandle(handle);
    return kOsOk;
}

OsCode keepsPermissions(const std::string&, bool& kept) {
    kept = true;
    return kOsOk;
}

}  // namespace vaultrix::fs
