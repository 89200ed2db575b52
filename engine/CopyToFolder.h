#pragma once

#include <cstdint>
#include <string>

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
Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer);

}  // namespace vaultrix
