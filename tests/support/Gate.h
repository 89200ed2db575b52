#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "support/Eventually.h"

namespace vaultrix::test {

// A stand-in for a drive that does not answer: each call of enter() waits until the test lets
// it through (or, so that no test hangs, until kEventuallyBound passes). Shared through a
// shared_ptr, because a thread may still wait in it when the test ends.
class Gate {
public:
    // Waits for a pass; false when none came in time.
    bool enter() {
        std::unique_lock lock(mutex_);
        callers_.push_back(std::this_thread::get_id());
        changed_.notify_all();
        const bool passed =
            changed_.wait_for(lock, kEventuallyBound, [this] { return passes_ > 0; });
        if (passed) --passes_;
        ++left_;
        changed_.notify_all();
        return passed;
    }

    // Lets `count` calls through, waiting ones first.
    void letThrough(int count = 1) {
        std::lock_guard lock(mutex_);
        passes_ += count;
        changed_.notify_all();
    }
    void open() { letThrough(1 << 20); }

    // Calls that have come, and calls that have left again.
    int arrived() const {
        std::lock_guard lock(mutex_);
        return static_cast<int>(callers_.size());
    }
    int left() const {
        std::lock_guard lock(mutex_);
        return left_;
    }
    // The threads the calls came on, in order.
    std::vector<std::thread::id> callers() const {
        std::lock_guard lock(mutex_);
        return callers_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::thread::id> callers_;
    int passes_ = 0;
    int left_ = 0;
};

}  // namespace vaultrix::test
