#pragma once

#include <mutex>

#include "platform/Clock.h"

namespace vaultrix::test {

// A clock that shows whatever the test sets; safe to read from another thread.
class FakeClock final : public Clock {
public:
    FakeClock() = default;
    explicit FakeClock(const LocalTime& t) : now_(t) {}

    LocalTime now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void set(const LocalTime& t) {
        std::lock_guard lock(mutex_);
        now_ = t;
    }

private:
    mutable std::mutex mutex_;
    LocalTime now_;
};

// A moment given as day, month, year, hour, minute, second and weekday (Sunday = 0).
inline LocalTime at(int day, int month, int year, int hour, int minute, int second, int weekday) {
    LocalTime t;
    t.day = day;
    t.month = month;
    t.year = year;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.weekday = weekday;
    return t;
}

}  // namespace vaultrix::test
