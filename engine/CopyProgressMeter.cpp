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
    std::lock_guard lock(mutex_);
    bytesWritten_ += bytes;
    progress_.bytesDone += bytes;
    unreported_ += bytes;
    if (const fs::OsCode code = faults_.afterChunk(source, bytesWritten_); code != fs::kOsOk)
        return code;
    if (observer_.cancelRequested()) return fs::kOsCancelled;
    if (unreported_ >= fs::kCopyChunkBytes) {
        unreported_ = 0;
        observer_.onProgress(progress_);
        markInUse();
    }
    return fs::kOsOk;
}

void CopyProgressMeter::markInUse() {
    if (building_.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastInUseMark_ < kInUseMarkEvery) return;
    lastInUseMark_ = now;
    static_cast<void>(fs::markChanged(building_));
}

}  // namespace vaultrix
