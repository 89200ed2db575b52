#include "platform/FileSystem_win.h"
#include "platform/FolderListing.h"
#include "platform/PathExists.h"

namespace vaultrix::fs {

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
