#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/BackupRunner.h"
#include "engine/Event.h"

namespace vaultrix::test {

// Stands in for the copy of one source: records each call and, while holding, reports no progress
// until it is released or its observer asks to cancel (then it fails like a cancelled copy).
class FakeCopy {
public:
    explicit FakeCopy(bool hold = false) : hold_(hold) {}

    // The operation to hand to a BackupRunner; the FakeCopy must outlive it.
    BackupRunner::CopyOperation operation() {
        return
            [this](const std::string& source, const std::string& destination, unsigned flags,
                   CopyObserver& observer) { return copy(source, destination, flags, observer); };
    }

    Result<> copy(const std::string& source, const std::string& destination, unsigned flags,
                  CopyObserver& observer) {
        {
            std::lock_guard lock(mutex_);
            sources_.push_back(source);
            destinations_.push_back(destination);
            flags_.push_back(flags);
        }
        started_.set();
        if (!hold_) return success();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!released_.waitFor(std::chrono::milliseconds(1))) {
            // Nothing moves, as on a stalled disk, yet the run hears from its copy.
            observer.onProgress(CopyProgress{});
            if (observer.cancelRequested() || std::chrono::steady_clock::now() > end) {
                cancelled_.set();
                return failure("Der Kopiervorgang wurde abgebrochen: " + source, source);
            }
        }
        return success();
    }

    // True once a copy has begun, false after the bound.
    bool awaitStarted() const { return started_.waitFor(std::chrono::seconds(10)); }
    bool awaitCancelled() const { return cancelled_.waitFor(std::chrono::seconds(10)); }
    void release() { released_.set(); }

    std::vector<std::string> sources() const {
        std::lock_guard lock(mutex_);
        return sources_;
    }
    std::vector<std::string> destinations() const {
        std::lock_guard lock(mutex_);
        return destinations_;
    }
    std::vector<unsigned> flags() const {
        std::lock_guard lock(mutex_);
        return flags_;
    }

private:
    bool hold_;
    mutable std::mutex mutex_;
    std::vector<std::string> sources_;
    std::vector<std::string> destinations_;
    std::vector<unsigned> flags_;
    Event started_;
    Event released_;
    Event cancelled_;
};

}  // namespace vaultrix::test
