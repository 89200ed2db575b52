#include "engine/CopyProgressMeter.h"

#include <utility>

namespace vaultrix {
namespace {

// An entry in the making is marked as changed this often, so it never looks left behind.
constexpr std::chrono::hours kInUseMarkEvery{1};

}  // namespace

CopyProgressMeter::CopyProgressMeter(CopyObserver& observer, CopyFaults& faults)
    : observer_(observer), faults_(faults), lastInUseMark_(std::chrono::steady_clock::now()) {}

void CopyProgressMeter::fileDone(std::uint64_t bytesLeftAlone) {
    std::lock_guard lock(mutex_);
    ++progress_.filesDone;
    progress_.bytesDone += bytesLeftAlone;
    unreported_ = 0;
    observer_.onProgress(progress_);
    markInUse();
}

void CopyProgressMeter::building(std::string temporary) {
    std::lock_guard lock(mutex_);
    building_ = std::move(temporary);
}

fs::OsCode CopyProgressMeter::afterChunk(const std::string& source, std::uint64_t bytes) {
    std::uint64_t written = 0;
    {
        std::lock_guard lock(mutex_);
        bytesWritten_ += bytes;
        written = bytesWritten_;
        progress_.bytesDone += bytes;
        unreported_ += bytes;
        if (unreported_ >= fs::kCopyChunkBytes) {
            unreported_ = 0;
            observer_.onProgress(progress_);
            markInUse();
        }
    }
    // Outside the lock: a test's faults may hold one file back while the others go on.
    if (const fs::OsCode code = faults_.afterChunk(source, written); code != fs::kOsOk) return code;
    return observer_.cancelRequested() ? fs::kOsCancelled : fs::kOsOk;
}

void CopyProgressMeter::markInUse() {
    if (building_.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastInUseMark_ < kInUseMarkEvery) return;
    lastInUseMark_ = now;
    static_cast<void>(fs::markChanged(building_));
}

}  // namespace vaultrix
