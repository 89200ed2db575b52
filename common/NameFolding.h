#pragma once

#include <string>
#include <string_view>

namespace vaultrix {

// The name as a file system that ignores case sees it (FAT, exFAT, NTFS on Windows, SMB
// shares): every letter that has an upper-case partner in Latin (ASCII, Latin-1, Latin
// Extended-A), Greek or Cyrillic is replaced by it, as those file systems' upcase tables do.
// Two names with the same folded name are one entry there. Bytes that are no valid UTF-8 stay
// as they are.
std::string foldedName(std::string_view name);

}  // namespace vaultrix
