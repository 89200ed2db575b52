#pragma once

#include <string>
#include <vector>

namespace vaultrix::fs {

// The mount points the system is told to mount (/etc/fstab) and those mounted now
// (/proc/self/mounts). Empty on Windows, where drives and shares are asked directly.
struct MountTable {
    std::vector<std::string> configured;
    std::vector<std::string> mounted;
};

// The mount points (second field) of a table in fstab format, with escapes such as
// "\040" for a blank decoded; comments, blank lines and entries without a folder (swap) are
// left out.
std::vector<std::string> parseMountPoints(const std::string& text);

// A field of a mount table with its escapes decoded: fstab and the kernel's tables write a blank,
// tab, newline or backslash as "\" and three octal digits.
std::string decodeEscapes(const std::string& field);

// The system's table, read afresh.
MountTable readMountTable();

// What the normalised path lies on when that is absent now, else an empty text. POSIX: a mount
// point of the configured list that is the path or a folder above it and is not mounted (its
// folder on the system disk must not receive a backup). Windows: a drive letter or network
// share that cannot be reached; the table is not used.
std::string absentVolume(const std::string& path, const MountTable& table);

}  // namespace vaultrix::fs
