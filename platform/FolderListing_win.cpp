#include <algorithm>

#include "platform/FileSystem_win.h"
#include "platform/FolderListing.h"
#include "platform/PathExists.h"

namespace vaultrix::fs {

OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::wstring pattern = extendedPath(path);
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    const HANDLE found =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (found == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND ? kOsOk : static_cast<OsCode>(code);  // empty root
    }
    OsCode code = kOsOk;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        // The directory attribute alone decides, whatever else is set (read-only, archive …).
        entries.push_back(
            FolderEntry{toUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(found, &data));
    if (GetLastError() != ERROR_NO_MORE_FILES) code = static_cast<OsCode>(GetLastError());
    FindClose(found);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return code;
}

std::vector<std::string> volumeRoots() {
    // No "insert a disk" box for an empty drive: the drive is simply left out.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    std::vector<std::string> roots;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (1u << letter)) == 0) continue;
        const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        if (PathExists(root)) roots.push_back(root);
    }
    SetErrorMode(previous);
    return roots;
}

}  // namespace vaultrix::fs
