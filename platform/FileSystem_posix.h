#pragma once

#include <string_view>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// Writes all the bytes to the descriptor, going on after a write that took only part of them or
// was interrupted by a signal.
[[nodiscard]] OsCode writeAll(int fd, std::string_view bytes);

// True for a code with which a file system refuses an attribute it cannot hold (permission bits
// on FAT, an owner on exFAT, a share that keeps neither): such attributes are best effort.
bool attributeRefused(OsCode code);

}  // namespace vaultrix::fs
