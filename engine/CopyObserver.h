#pragma once

#include <cstdint>
#include <string>

#include "common/Result.h"
#include "engine/DestinationTraits.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/Volumes.h"

namespace vaultrix {

struct CopyProgress {
    std::uint64_t filesDone = 0;
    std::uint64_t bytesDone = 0;

    bool operator==(const CopyProgress&) const = default;
};

// Watches a copy: receives progress and may ask it to stop. Called from the copy's threads, one
// at a time.
class CopyObserver {
public:
    virtual ~CopyObserver() = default;
    virtual void onProgress(const CopyProgress& progress) = 0;
    // Polled between chunks of a few MiB; a cancelled copy is a failure.
    virtual bool cancelRequested() = 0;
    // Each failure once, as it happens: an entry that could not be copied, or what stopped the
    // copy as a whole.
    virtual void onFailure(const Error&) {}
};

// Where a test plays the system's part: the file writer asks after every chunk written, and
// can be failed with an operating-system error code (a full disk, say) as if the system had
// reported it; the mount table and the flush can be the test's own. afterChunk is called from
// the copy's workers, several at once; the others from the walk's thread.
class CopyFaults {
public:
    virtual ~CopyFaults() = default;
    // After a chunk of the file `source` was written; `bytesWritten` counts every byte the run
    // has written so far. kOsOk goes on.
    virtual fs::OsCode afterChunk(const std::string& source, std::uint64_t bytesWritten) = 0;
    virtual fs::MountTable mountTable() { return fs::readMountTable(); }
    // What the destination holds, as the copy is to respect it: what was found out there, or
    // what the test's destination is to hold.
    virtual DestinationTraits destinationTraits(const DestinationTraits& found) { return found; }
    // Puts what was written to the destination's volume on its disk.
    virtual fs::OsCode flushVolume(const std::string& destination) {
        return fs::flushVolume(destination);
    }
};

}  // namespace vaultrix
