#pragma once

#include <string_view>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// Writes all the bytes to the descriptor, going on after a write that took only part of them or
// was interrupted by a signal.
[[nodiscard]] OsCode writeAll(int fd, std::string_view bytes);

}  // namespace vaultrix::fs
