#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// Creates an empty file for the owner, which must not exist yet: a probe of what a destination
// keeps.
[[nodiscard]] OsCode makeEmptyFile(const std::string& path);

// Whether the file system of `file` keeps permission bits: other bits are set on it and read
// back. A refusal (FAT), or other bits read back (exFAT, which shows every file as 0777), say
// no. On Windows the attributes the copy brings over are kept by every file system it writes
// to, so the answer is yes.
[[nodiscard]] OsCode keepsPermissions(const std::string& file, bool& kept);

}  // namespace vaultrix::fs
