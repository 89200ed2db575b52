#pragma once

#include <cstdint>
#include <limits>

namespace vaultrix {

// What the destination's file system can hold, found out from the destination itself before
// a copy writes into it. A USB stick with FAT, exFAT or NTFS, or a network share, keeps less
// than the source's file system: coarser times, names folded in case, no links.
struct DestinationTraits {
    // Modification times are kept in steps of this many nanoseconds (FAT 2 s, exFAT 1 s, SMB
    // 100 ns); a time within one step of the source's is the same time.
    std::int64_t timeStepNs = 1;
    // Permission bits set on an entry read back as set. exFAT shows every entry as 0777 and FAT
    // refuses them: there they are neither compared nor a reason to write.
    bool keepsPermissions = true;
    // Names that differ only in case ("README", "readme") name one entry.
    bool foldsCase = false;
    // Names follow Windows' rules (FAT, exFAT, NTFS, SMB shares, and every Windows destination).
    bool windowsNames = false;
    // The largest file the file system holds (FAT32: 4 GiB less one byte).
    std::uint64_t largestFile = std::numeric_limits<std::uint64_t>::max();
    // Symbolic links can be made.
    bool holdsLinks = true;
};

}  // namespace vaultrix
