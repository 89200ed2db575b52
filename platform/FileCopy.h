#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vaultrix::fs {

// The most a file copy moves before it asks its hook whether to go on.
inline constexpr std::uint64_t kCopyChunkBytes = 4u << 20;

// Told about a file copy as it goes on; can stop it.
class ChunkHook {
public:
    virtual ~ChunkHook() = default;
    // After each chunk, with the bytes it moved. Returns kOsOk to go on, or a code that
    // stops the copy as if the system had reported it (kOsCancelled for a cancel).
    virtual OsCode afterChunk(std::uint64_t bytes) = 0;
};

// What one run has learnt about the fast paths between its source and destination, so a
// path the file system lacks is not tried again for every file, and the buffer of the plain
// copy is allocated once.
struct CopyContext {
    bool tryClone = true;
    bool tryCopyRange = true;
    std::vector<char> buffer;
};

// Whether every file a copy writes is flushed by itself: where the volume cannot be flushed as
// a whole (Windows lets only administrators), flushVolume() relies on it.
#ifdef _WIN32
inline constexpr bool kFlushEachFile = true;
#else
inline constexpr bool kFlushEachFile = false;
#endif

// Puts what was written to the volume of `folder` on its disk: one syncfs on Linux, which
// waits for every file, folder and name written there (a file's data before a rename over an
// older copy, everything before a run is logged "ok"). On Windows every file was flushed as it
// was written (kFlushEachFile) and a user cannot flush a volume: nothing is left to do.
[[nodiscard]] OsCode flushVolume(const std::string& folder);

// Copies the contents of the file `from` to `to`, which is created and must not exist yet,
// then gives `to` the source's permissions and modification time. With syncData the data are
// on the disk when it returns. On failure `to` is removed.
[[nodiscard]] OsCode copyFileData(const std::string& from, const std::string& to, bool syncData,
                                  ChunkHook& hook, CopyContext& context);

}  // namespace vaultrix::fs
