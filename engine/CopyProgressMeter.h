#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/CopyObserver.h"
#include "platform/FileCopy.h"

namespace vaultrix {

// What one copy has done, told to its observer after every file and every few MiB within one;
// between chunks it asks the observer and the faults whether to go on. It keeps the temporary
// entry in the making marked as in use, so a long copy's entry never looks left behind.
class CopyProgressMeter final : public fs::ChunkHook {
public:
    CopyProgressMeter(CopyObserver& observer, CopyFaults& faults);

    // A file is about to be written: fileBytes() counts from zero.
    void beginFile() { fileBytes_ = 0; }
    // The bytes moved of the file being written.
    std::uint64_t fileBytes() const { return fileBytes_; }
    // A file or link is done; `bytesLeftAlone` of it were not moved (an unchanged file, the
    // holes of a sparse one) and count as done all the same.
    void fileDone(std::uint64_t bytesLeftAlone);
    // The temporary entry in the making; empty when there is none.
    void building(std::string temporary) { building_ = std::move(temporary); }

    fs::OsCode afterChunk(std::uint64_t bytes) override;

private:
    void markInUse();

    CopyObserver& observer_;
    CopyFaults& faults_;
    CopyProgress progress_;
    std::uint64_t bytesWritten_ = 0;
    std::uint64_t fileBytes_ = 0;
    std::uint64_t unreported_ = 0;
    std::string building_;
    std::chrono::steady_clock::time_point lastInUseMark_;
};

}  // namespace vaultrix
