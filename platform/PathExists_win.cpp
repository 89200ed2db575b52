#include "platform/FileSystem_win.h"
#include "platform/PathExists.h"

namespace vaultrix {

bool PathExists(const std::string& path) {
    if (path.empty()) return false;
    std::wstring wide = fs::extendedPath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return true;
    // A folder counts only when it can be listed (a disconnected network drive cannot).
    if (wide.back() != L'\\') wide += L'\\';
    wide += L'*';
    WIN32_FIND_DATAW data{};
    const HANDLE found =
        FindFirstFileExW(wide.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (found == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    FindClose(found);
    return true;
}

}  // namespace vaultrix
