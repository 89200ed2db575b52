#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace vaultrix {

// The copy flags a run passes: 0x150 replaces what a target holds, 0x158 adds a new copy beside.
inline constexpr unsigned kCopyFlagsOverwrite = 0x150;
inline constexpr unsigned kCopyFlagsNewCopy = 0x158;
inline constexpr unsigned kCopyFlagRenameOnCollision = 0x008;

inline constexpr const char* kCopyProgressTitle =
    "Vaultrix führt die automatische Datensicherung durch!";

struct CopyProgress {
    std::uint64_t filesDone = 0;
    std::uint64_t bytesDone = 0;
};

// Watches a copy: receives progress and may ask it to stop. Called on the copying thread.
class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    virtual void onProgress(const CopyProgress& progress) = 0;
    // Polled between chunks of a few MiB; a cancelled copy is a failure.
    virtual bool cancelRequested() = 0;
};

// Copies one source (a file, or a folder with its whole subtree) into the destination folder,
// landing at destination/name. With kCopyFlagsOverwrite a target file is replaced through a
// temporary file and an atomic rename (an identical one is left alone) and folders merge; with
// kCopyFlagsNewCopy an existing target stays untouched and the copy is named
// "Name - Kopie.ext", "Name - Kopie (2).ext", … Nothing is ever deleted from the destination.
//
// On failure the copy stops, leaves no temporary file behind and returns the failing path and
// the operating system's reason.
//
// The destination folder is made when it is missing and its parent exists; a destination
// whose parent is missing fails, so an unplugged drive's mount point never receives a backup.
// A destination inside the source is left out of the walk. Temporary files are named
// ".NAME.vxXXXXXX.vxtmp"; leftovers of that pattern in the folders written are removed.
Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer);

// A seam in the file writer: asked after every chunk written, it can fail the write with an
// operating-system error code (a full disk, say) as if the system had reported it.
class CopyFaults {
public:
    virtual ~CopyFaults() = default;
    // `bytesWritten` counts every byte the run has written so far; kOsOk goes on.
    virtual fs::OsCode afterChunk(std::uint64_t bytesWritten) = 0;
};

Result<> CopyToFolderWithFaults(const std::string& source, const std::string& destination,
                                unsigned flags, CopyObserver& observer, CopyFaults& faults);

}  // namespace vaultrix
