#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/Result.h"
#include "engine/CopyDestination.h"
#include "engine/CopyObserver.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// The failures of one copy: each is told to the observer, and the first told is the copy's
// result. Some end the walk, because nothing further could be written.
//
// The walk numbers its steps in the order of the source tree, and every failure belongs to a
// step: the walk's current one, or the step of an entry handed to a worker. A failure is told
// once no earlier step is still held by a worker, so the failures come out in the order of the
// tree however many workers write. Only the earliest failure that ends the walk is told; what
// failed after it in the tree is a consequence and is dropped.
class CopyFailures {
public:
    using Step = std::uint64_t;

    CopyFailures(CopyObserver& observer, const CopyDestination& destination);

    // The walk (one thread) moves on to its next step and gives its number.
    Step nextStep();
    // The walk's current step.
    Step step() const { return walkStep_; }
    // The step is handed to a worker: failures after it wait until it is released.
    void hold(Step step);
    void release(Step step);

    // Tells the failure as the walk's current step's. False, so that a step can return it as
    // its own outcome.
    bool report(Error error);
    // The entry at `path` could not be copied, for this reason.
    bool fail(const std::string& path, const std::string& reason);
    // The same for the system's code. A full disk, a read-only volume, a destination gone or a
    // cancel ends the walk; a destination gone is said once, not for every entry left.
    bool fail(const std::string& path, fs::OsCode code);
    // The same for a step held by a worker.
    bool fail(Step step, const std::string& path, fs::OsCode code);

    // Whether the walk is to end.
    bool stopped() const { return stopped_.load(std::memory_order_acquire); }
    // The first failure, or success when there was none. Only once nothing is held.
    Result<> result() const;

private:
    bool add(Step step, Error error, bool stops);
    void tellReady();

    CopyObserver& observer_;
    const CopyDestination& destination_;
    Step walkStep_ = 0;  // the walk's own, read and written on its thread only
    std::mutex mutex_;
    std::set<Step> held_;
    std::map<Step, std::vector<Error>> waiting_;
    std::optional<Step> stopStep_;
    std::optional<Error> first_;
    std::atomic<bool> stopped_{false};
};

}  // namespace vaultrix
