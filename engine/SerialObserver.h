#pragma once

#include <mutex>

#include "engine/CopyObserver.h"

namespace vaultrix {

// Passes a copy's reports on to its observer one at a time, whichever of the copy's threads
// makes them, so an observer written for one thread needs no lock of its own.
class SerialObserver final : public CopyObserver {
public:
    explicit SerialObserver(CopyObserver& inner) : inner_(inner) {}

    void onProgress(const CopyProgress& progress) override {
        std::lock_guard lock(mutex_);
        inner_.onProgress(progress);
    }
    bool cancelRequested() override {
        std::lock_guard lock(mutex_);
        return inner_.cancelRequested();
    }
    void onFailure(const Error& error) override {
        std::lock_guard lock(mutex_);
        inner_.onFailure(error);
    }

private:
    CopyObserver& inner_;
    std::mutex mutex_;
};

}  // namespace vaultrix
