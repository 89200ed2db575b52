#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// One entry of a folder as the folder tree shows it.
struct FolderEntry {
    std::string name;
    bool folder = false;  // the file system says it is a directory (a link is followed)

    bool operator==(const FolderEntry&) const = default;
};

// The entries of the folder without "." and "..", sorted bytewise by name, so the tree is the
// same on every file system.
[[nodiscard]] OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries);

// The tops of the folder tree, each one that can be listed, sorted by text. Windows: the drive
// roots "A:\" … "Z:\". POSIX: "/", the home folder and the volumes mounted below /media, /mnt
// and /run/media.
std::vector<std::string> volumeRoots();

// True for a folder or a drive root (a link to one counts), false for a file and for a path
// that does not exist or cannot be reached.
bool isFolderPath(const std::string& path);

// True for a path that names a whole file system or drive: "/", "C:\", "\\server\share", also
// when written with "." or ".." ("/home/.."). Such a folder has no name to copy it under.
bool isRootPath(const std::string& path);

}  // namespace vaultrix::fs
