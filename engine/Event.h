#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vaultrix {

// A manual-reset event: once set it stays set until reset, and every waiter wakes.
class Event {
public:
    void set();
    void reset();
    bool isSet() const;
    // True when the event is set, waiting at most `timeout` for it.
    bool waitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
};

}  // namespace vaultrix
