#pragma once

#include <string>

namespace vaultrix {

// True when a directory listing can be opened on the path: an existing file, an existing
// folder or a drive root; false for a missing path or a network drive that is not connected.
bool PathExists(const std::string& path);

}  // namespace vaultrix
