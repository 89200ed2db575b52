#pragma once

#include <string>

namespace vaultrix {

// The name of the n-th new copy beside an existing item (n counts from 1):
// "Name - Kopie.ext", "Name - Kopie (2).ext", …; a folder, a name without extension and a
// name starting with a dot keep their whole name before " - Kopie". The name is shortened
// before the suffix where it would exceed what file systems accept.
std::string newCopyName(const std::string& name, bool isFolder, unsigned number);

}  // namespace vaultrix
