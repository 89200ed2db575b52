#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vaultrix::fs {

// The operating system's error number of a failed call (errno on POSIX, GetLastError on
// Windows), or kOsOk. Callers turn it into a German reason with osErrorReason().
using OsCode = int;
inline constexpr OsCode kOsOk = 0;
// Our own code for a copy stopped on request; the operating system never produces it.
inline constexpr OsCode kOsCancelled = -1;

// A German reason for the code, e.g. "Zugriff verweigert".
std::string osErrorReason(OsCode code);

enum class EntryKind { Missing, File, Folder, Link, Special };

// What the copy needs to know of one directory entry; links are not followed.
struct EntryInfo {
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // since 1970-01-01 UTC
    unsigned permissions = 0;     // POSIX mode bits; Windows file attributes
    // Identity of the entry on its volume (device and inode); filled at least for folders.
    std::uint64_t device = 0;
    std::uint64_t index = 0;

    bool sameEntryAs(const EntryInfo& other) const {
        return kind != EntryKind::Missing && (device != 0 || index != 0) &&
               device == other.device && index == other.index;
    }
};

// Reads the entry, without following a link unless asked to; a path that does not exist
// gives kOsOk and EntryKind::Missing.
[[nodiscard]] OsCode statEntry(const std::string& path, EntryInfo& info, bool followLink = false);

// One entry of a folder listing.
struct FolderEntry {
    std::string name;
    bool folder = false;  // the file system says it is a directory (a link is followed)

    bool operator==(const FolderEntry&) const = default;
};

// The entries of the folder without "." and "..", sorted bytewise by name, so the tree is the
// same on every file system. Where the listing itself does not tell a folder (a link, or a
// file system that leaves the type open) the entry is looked at, unless `lookAtEntries` is
// false: then such an entry counts as no folder, and no link is followed.
[[nodiscard]] OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries,
                                       bool lookAtEntries = true);

// The names in the folder without "." and "..", sorted bytewise; no entry is looked at, so a
// link is never followed.
[[nodiscard]] OsCode listFolder(const std::string& path, std::vector<std::string>& names);

// Creates one folder (not its parents), writable for its owner until the copy sets the
// source's attributes on it.
[[nodiscard]] OsCode makeFolder(const std::string& path);

// Creates one folder (not its parents) for the user, with the permissions the system gives new
// folders (on POSIX those the user's umask leaves).
[[nodiscard]] OsCode makeUserFolder(const std::string& path);

// Copies the link itself (never what it points to) to `to`, which must not exist yet, with
// the link's modification time.
[[nodiscard]] OsCode copyLink(const std::string& from, const std::string& to);

// Makes a symbolic link at `path` that points to `target`, which need not exist.
[[nodiscard]] OsCode makeSymbolicLink(const std::string& target, const std::string& path);

// True for a code by which the file system, or on Windows the user's rights, refuse symbolic
// links as such (FAT and exFAT drivers: ENOSYS or EPERM), not this one link.
bool linksRefused(OsCode code);

// Renames `from` to `to` in one step, replacing a file or link at `to`.
[[nodiscard]] OsCode replaceEntry(const std::string& from, const std::string& to);

// Removes a file or link; used to clear away temporary files, so failures are not reported.
void removeQuietly(const std::string& path);

// Sets permissions and modification time of a file or folder (not a link).
[[nodiscard]] OsCode applyAttributes(const std::string& path, const EntryInfo& info);

// Lets the owner write into and list the folder, so an earlier backup of a read-only
// source folder can be merged into.
[[nodiscard]] OsCode makeFolderWritable(const std::string& path, const EntryInfo& info);

// True when the attributes would let the owner write into the folder and list it.
bool folderWritable(const EntryInfo& info);

// The folder joined with one name by the system's separator, never doubling it.
std::string joinPath(const std::string& folder, const std::string& name);

// Whether two paths are the same by their text, compared as the system's file systems compare
// names: exactly on POSIX, where "daten" and "Daten" are two folders; with A–Z folded on
// Windows, whose drives and shares ignore the case of names.
bool samePathText(const std::string& a, const std::string& b);

// The last name in the path, ignoring trailing separators; empty for a root (the POSIX root,
// a Windows drive root or network share).
std::string lastName(const std::string& path);

// Whether a last name names an entry of its folder: not a root's empty name, "." or "..".
inline bool isEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != "..";
}

// The path with "." and ".." resolved by its text alone (links are not followed), without
// doubled or trailing separators; ".." never climbs above the root. A relative path that
// resolves to nothing gives ".", an empty one stays empty.
std::string normalisePath(const std::string& path);

// Removes the entry and, for a folder, everything below it; links are removed, never followed.
// Read-only folders on the way are opened up first.
[[nodiscard]] OsCode removeTree(const std::string& path);

// Gives `from` the name `to`, which must be free: never replaces anything.
[[nodiscard]] OsCode renameNew(const std::string& from, const std::string& to);

// Swaps the entries at `first` and `second`, whatever their kinds. Where the file system cannot
// swap in one step, `spare` (a free name in the same folder) takes one of them for a moment;
// should a step fail, both are put back.
[[nodiscard]] OsCode exchangeEntries(const std::string& first, const std::string& second,
                                     const std::string& spare);

// True for a code after which the destination takes no further writes (a full disk, an
// exhausted quota, a read-only volume), so a copy stops instead of failing entry by entry.
bool destinationExhausted(OsCode code);

// True for a code that says the path, or a folder on its way, is not there (any more).
bool entryNotFound(OsCode code);

// When the entry last changed, in contents or attributes (the system's change time, which a
// copy cannot set back; on Windows the latest of it, the write and the making time, since FAT
// has none), in nanoseconds since 1970-01-01 UTC.
[[nodiscard]] OsCode changeTime(const std::string& path, std::int64_t& changedNs);

// Moves the entry's change time to now and changes nothing else (no other time either).
[[nodiscard]] OsCode markChanged(const std::string& path);

// The running program, its computer, and whether a program of this computer still runs; they
// tell a temporary file in use from one that a program left behind when it ended.
unsigned long currentProcessId();
bool processRunning(unsigned long processId);
std::string hostName();

// The longest file name, in bytes, the file systems we write to accept.
inline constexpr std::size_t kMaxNameBytes = 255;

}  // namespace vaultrix::fs
