#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "engine/CopyObserver.h"
#include "platform/FileCopy.h"

namespace vaultrix {

// What one copy has done, told to its observer after every file and every few MiB within one;
// between chunks it asks the observer and the faults whether to go on. It keeps the temporary
// entry in the making marked as in use, so a long copy's entry never looks left behind. Every
// call may come from any of the copy's threads.
class CopyProgressMeter {
public:
    CopyProgressMeter(CopyObserver& observer, CopyFaults& faults);

    // A file or link is done; `bytesLeftAlone` of it were not moved (an unchanged file, the
    // holes of a sparse one) and count as done all the same.
    void fileDone(std::uint64_t bytesLeftAlone);
    // The temporary entry in the making; empty when there is none.
    void building(std::string temporary);

    // A chunk of the file `source` was written: kOsOk to go on, or what stops its copy.
    fs::OsCode afterChunk(const std::string& source, std::uint64_t bytes);

private:
    void markInUse();

    std::mutex mutex_;
    CopyObserver& observer_;
    CopyFaults& faults_;
    CopyProgress progress_;
    std::uint64_t bytesWritten_ = 0;
    std::uint64_t unreported_ = 0;
    std::string building_;
    std::chrono::steady_clock::time_point lastInUseMark_;
};

// The bytes of one file on their way to the meter, counted for the file alone.
class FileProgress final : public fs::ChunkHook {
public:
    FileProgress(CopyProgressMeter& meter, const std::string& source)
        : meter_(meter), source_(source) {}
    fs::OsCode afterChunk(std::uint64_t bytes) override {
        moved_ += bytes;
        return meter_.afterChunk(source_, bytes);
    }
    std::uint64_t moved() const { return moved_; }

private:
    CopyProgressMeter& meter_;
    const std::string& source_;
    std::uint64_t moved_ = 0;
};

}  // namespace vaultrix
