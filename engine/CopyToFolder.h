#pragma once

#include <string>

#include "common/Result.h"
#include "engine/CopyObserver.h"
#include "engine/CopyWorkers.h"

namespace vaultrix {

// The flags of a copy, with the values of the Windows shell's copy flags of the same meaning.
inline constexpr unsigned kCopyFlagRenameOnCollision = 0x008;  // a new copy beside what is there
inline constexpr unsigned kCopyFlagNoConfirmation = 0x010;     // no question to the user
inline constexpr unsigned kCopyFlagAllowUndo = 0x040;          // undo kept where there is one
inline constexpr unsigned kCopyFlagSimpleProgress = 0x100;     // progress without file names
// The flags a run passes: the overwrite method replaces what a target holds (0x150), the
// new-copy method adds a new copy beside it (0x158).
inline constexpr unsigned kCopyFlagsOverwrite =
    kCopyFlagNoConfirmation | kCopyFlagAllowUndo | kCopyFlagSimpleProgress;
inline constexpr unsigned kCopyFlagsNewCopy = kCopyFlagsOverwrite | kCopyFlagRenameOnCollision;

// The refusal of a source that is the destination folder itself, by the copy and by the editor.
inline constexpr const char* kSameSourceAndDestination = "Quelle und Ziel darf nicht gleich sein !";

// Copies one source (a file, or a folder with its whole subtree) into the destination folder,
// landing at destination/name, where name is the last name of the source once "." and ".." are
// resolved by the text (a source that names no file or folder, or a root, is refused). With
// kCopyFlagsOverwrite a target file is replaced through a temporary file and an atomic rename
// (an identical one is left alone), folders merge, and an entry whose kind changed is written
// whole beside the old one before it takes its place. With kCopyFlagsNewCopy the copy is built
// under a temporary name and, once whole, named "Name", "Name - Kopie.ext",
// "Name - Kopie (2).ext", … beside what is there. Nothing is written outside the destination.
//
// Files and links are written by a few workers at once (kCopyWorkers), folders before their
// entries and given their attributes after them. The copy returns once every worker is done
// and everything it wrote is on the destination's disk; a failure to put it there fails the
// copy.
//
// An entry that cannot be copied is told to the observer, in the order of the source tree,
// and the copy goes on with the rest;
// a full disk, a read-only volume, a cancel or a destination folder gone during the copy stops it
// (the last is told once, as such, not for every entry left). The result is the first failure. A
// stopped copy leaves no temporary entry behind and no new copy.
//
// A missing destination folder is made, unless its parent is an empty folder that is no
// mounted volume's root (how the mount point of an absent drive looks). No
// write happens while the destination, or a folder above it, is a configured mount point that
// is not mounted, or lies on a drive or share that is absent, so an unplugged drive's mount
// point never receives a backup. A source that is the destination itself is refused; a
// destination inside the source is left out of the walk. Temporary entries are named after
// temporaryName(); those that their program left behind in the folders written are removed.
Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer);

// The same, with the system's part played by `faults` and the number of workers chosen (tests
// and benchmarks).
Result<> CopyToFolderWithFaults(const std::string& source, const std::string& destination,
                                unsigned flags, CopyObserver& observer, CopyFaults& faults,
                                unsigned workers = kCopyWorkers);

}  // namespace vaultrix
