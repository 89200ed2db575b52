#pragma once

#include <cstdint>
#include <string>

namespace vaultrix {

// The name of the n-th new copy beside an existing item (n counts from 1):
// "Name - Kopie.ext", "Name - Kopie (2).ext", …; a folder, a name without extension and a
// name starting with a dot keep their whole name before " - Kopie". The name is shortened
// before the suffix where it would exceed what file systems accept.
std::string newCopyName(const std::string& name, bool isFolder, unsigned number);

// The temporary name under which a file is written before it replaces `name`:
// "." + name + ".vx" + six hex digits + ".vxtmp", shortened like newCopyName.
std::string temporaryName(const std::string& name, std::uint32_t random);

// True for exactly the names temporaryName gives, so leftovers can be cleared safely.
bool isTemporaryName(const std::string& name);

// The text cut to at most maxBytes without splitting a UTF-8 character.
std::string shortenUtf8(const std::string& text, std::size_t maxBytes);

}  // namespace vaultrix
