#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

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
