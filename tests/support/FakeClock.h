#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/Clock.h"

namespace vaultrix::test {

// Central European time, the rule tests use for daylight saving: UTC+1, and UTC+2 from 01:00
// UTC on the last Sunday of March to 01:00 UTC on the last Sunday of October.
inline int centralEuropean(std::int64_t realSeconds) {
    using namespace std::chrono;
    const sys_seconds moment{seconds(realSeconds)};
    const year thisYear = year_month_day(floor<days>(moment)).year();
    const auto change = [&](month m) { return sys_days(thisYear / m / Sunday[last]) + hours(1); };
    return moment >= change(March) && moment < change(October) ? 7200 : 3600;
}

// A clock that shows whatever the test sets; safe to read from another thread. Without a rule
// the offset of the time last set holds all year.
class FakeClock final : public Clock {
public:
    using Rule = int (*)(std::int64_t realSeconds);

    FakeClock() = default;
    explicit FakeClock(const LocalTime& t) : now_(t) {}
    explicit FakeClock(Rule rule) : rule_(rule) {}

    LocalTime now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    std::int64_t realMilliseconds() const override {
        std::lock_guard lock(mutex_);
        ++exactReadings_;
        return exact_ ? *exact_ : realSeconds(now_) * 1000;
    }
    int utcOffsetAt(std::int64_t realSeconds) const override {
        std::lock_guard lock(mutex_);
        return rule_ != nullptr ? rule_(realSeconds) : now_.utcOffset;
    }
    void set(const LocalTime& t) {
        std::lock_guard lock(mutex_);
        now_ = t;
        exact_.reset();
    }
    // The real moment to the millisecond; now() shows it to the nearest second.
    void setExactly(std::int64_t realMilliseconds) {
        std::lock_guard lock(mutex_);
        exact_ = realMilliseconds;
        const std::int64_t second = (realMilliseconds + 500) / 1000;
        now_ = localTimeAt(second, rule_ != nullptr ? rule_(second) : now_.utcOffset);
    }
    // How often the real moment was asked for.
    int exactReadings() const {
        std::lock_guard lock(mutex_);
        return exactReadings_;
    }

private:
    mutable std::mutex mutex_;
    LocalTime now_;
    std::optional<std::int64_t> exact_;
    mutable int exactReadings_ = 0;
    Rule rule_ = nullptr;
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

// A local time in 2026 as a clock with the given UTC offset in hours shows it, weekday included.
inline LocalTime in2026(int day, int month, int hour, int minute, int offsetHours) {
    return localTimeAt(localSeconds(2026, month, day, hour, minute, 0) - offsetHours * 3600,
                       offsetHours * 3600);
}

}  // namespace vaultrix::test
