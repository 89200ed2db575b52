#pragma once

#include <string>
#include <string_view>

namespace vaultrix::fs {

// Why this system would make an entry of this name (one path component) literally, out of
// reach of its own programs, or not at all; empty when it takes the name as it stands. Windows:
// every absolute path is passed with the "\\?\" prefix, which also turns off the system's
// clean-up of names, so a trailing dot or space or a device name would be made as typed and
// Explorer could not open it. A POSIX system takes every name.
std::string systemNameProblem(std::string_view name);

}  // namespace vaultrix::fs
