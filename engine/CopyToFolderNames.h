#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace vaultrix {

// The name of the n-th new copy beside an existing item (n counts from 1):
// "Name - Kopie.ext", "Name - Kopie (2).ext", …; a folder, a name without extension and a
// name starting with a dot keep their whole name before " - Kopie". The name is shortened
// before the suffix where it would exceed what file systems accept.
std::string newCopyName(const std::string& name, bool isFolder, unsigned number);

// Gives the copy built whole at `temporary` the first free name in `folder` of "Name", then
// newCopyName(name, isFolder, 1), (…, 2), …, never replacing anything: a name another program
// takes in the meantime is passed over. kOsOk, or the system's code of what failed; the
// temporary entry is then left where it is.
fs::OsCode nameNewCopy(const std::string& temporary, const std::string& folder,
                       const std::string& name, bool isFolder);

}  // namespace vaultrix
