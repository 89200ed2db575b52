#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "engine/BackgroundThreads.h"

namespace vaultrix::test {

// A window sink that keeps every text it is given; tests await counts with a generous bound.
class RecordingSink final : public WindowSink {
public:
    void showClock(const std::string& text) override {
        {
            std::lock_guard lock(mutex_);
            clocks_.push_back(text);
        }
        changed_.notify_all();
    }
    void showStatus(const StatusText& status) override {
        {
            std::lock_guard lock(mutex_);
            statuses_.push_back(status);
        }
        changed_.notify_all();
    }

    std::vector<std::string> clocks() const {
        std::lock_guard lock(mutex_);
        return clocks_;
    }
    std::vector<StatusText> statuses() const {
        std::lock_guard lock(mutex_);
        return statuses_;
    }
    std::size_t statusCount() const {
        std::lock_guard lock(mutex_);
        return statuses_.size();
    }

    // True once at least `count` clock texts arrived, false after `timeout`.
    bool awaitClocks(std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return clocks_.size() >= count; });
    }
    // True once at least `count` statuses arrived, false after `timeout`.
    bool awaitStatuses(std::size_t count,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return statuses_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> clocks_;
    std::vector<StatusText> statuses_;
};

}  // namespace vaultrix::test
