#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "engine/BackupRunner.h"

namespace vaultrix::test {

// A run observer that keeps the messages it is given and never asks to cancel unless told.
class RecordingRunObserver final : public RunObserver {
public:
    void onRunStarted(const std::string& name) override {
        std::lock_guard lock(mutex_);
        started_.push_back(name);
    }
    void onProgress(const CopyProgress& progress) override {
        std::lock_guard lock(mutex_);
        last_ = progress;
    }
    void onTotalCounted(const CopyProgress& total) override {
        std::lock_guard lock(mutex_);
        totals_.push_back(total);
    }
    bool cancelRequested() override {
        std::lock_guard lock(mutex_);
        return cancel_;
    }
    void onRunSucceeded(const std::string& message) override {
        {
            std::lock_guard lock(mutex_);
            successes_.push_back(message);
        }
        changed_.notify_all();
    }
    void onRunFailed(const std::string& message) override {
        {
            std::lock_guard lock(mutex_);
            failures_.push_back(message);
        }
        changed_.notify_all();
    }

    void onLogFailed(const std::string& message) override {
        std::lock_guard lock(mutex_);
        logFailures_.push_back(message);
    }

    void setCancel(bool cancel) {
        std::lock_guard lock(mutex_);
        cancel_ = cancel;
    }
    std::vector<std::string> started() const {
        std::lock_guard lock(mutex_);
        return started_;
    }
    std::vector<std::string> successes() const {
        std::lock_guard lock(mutex_);
        return successes_;
    }
    std::vector<std::string> failures() const {
        std::lock_guard lock(mutex_);
        return failures_;
    }
    std::vector<std::string> logFailures() const {
        std::lock_guard lock(mutex_);
        return logFailures_;
    }
    CopyProgress lastProgress() const {
        std::lock_guard lock(mutex_);
        return last_;
    }
    std::vector<CopyProgress> totals() const {
        std::lock_guard lock(mutex_);
        return totals_;
    }
    // True once at least `count` failures were reported, false after `timeout`.
    bool awaitFailures(std::size_t count,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return failures_.size() >= count; });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool cancel_ = false;
    CopyProgress last_;
    std::vector<CopyProgress> totals_;
    std::vector<std::string> started_;
    std::vector<std::string> successes_;
    std::vector<std::string> failures_;
    std::vector<std::string> logFailures_;
};

}  // namespace vaultrix::test
