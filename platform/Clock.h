#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace vaultrix {

// A local date and time to the whole second, with the weekday (Sunday = 0) and the offset from
// UTC that was in effect, so the real moment it shows is known as well.
struct LocalTime {
    int year = 1970;
    int month = 1;      // 1 … 12
    int day = 1;        // 1 … 31
    int hour = 0;       // 0 … 23
    int minute = 0;     // 0 … 59
    int second = 0;     // 0 … 59
    int weekday = 4;    // 0 Sunday … 6 Saturday
    int utcOffset = 0;  // seconds east of UTC

    bool operator==(const LocalTime&) const = default;
};

// "06.12.2026"
std::string formatDate(const LocalTime& t);
// "19:30:05"
std::string formatTime(const LocalTime& t);
// "19:30", the form a stored time of day takes
std::string formatHourMinute(const LocalTime& t);

// Seconds since 1970-01-01 00:00 of a local date and time, counted as if it were UTC.
std::int64_t localSeconds(int year, int month, int day, int hour, int minute, int second);
std::int64_t localSeconds(const LocalTime& t);
// Seconds since 1970-01-01 00:00 UTC of the real moment a local time shows.
std::int64_t realSeconds(const LocalTime& t);
// The local time at a real moment (seconds since 1970 UTC) under an offset from UTC.
LocalTime localTimeAt(std::int64_t realSeconds, int utcOffset);

// The fields of a broken-down local time from the C library.
LocalTime localTimeFrom(const std::tm& tm);
// The calendar fields of a moment in the machine's time zone (one file per OS).
std::tm localCalendar(std::time_t time);

// The clock is passed in, never read from a global, so tests can set the time and the rules of
// its time zone.
class Clock {
public:
    virtual ~Clock() = default;
    // Local time rounded to the nearest second (half a second and more rounds up).
    virtual LocalTime now() const = 0;
    // The real moment now, not rounded, in milliseconds since 1970 UTC: a minute that now()
    // shows may not have begun yet. A clock that keeps whole seconds gives its reading's moment.
    virtual std::int64_t realMilliseconds() const { return realSeconds(now()) * 1000; }
    // The time-zone rule: the offset from UTC, in seconds, of the local time at a real moment
    // (seconds since 1970 UTC). It changes where daylight saving time starts and ends.
    virtual int utcOffsetAt(std::int64_t realSeconds) const = 0;
};

// The real moments at which the local clock shows a local time (seconds as localSeconds counts
// them), earliest first: one; two when the clock is set back over it (the repeated hour in
// autumn); none when the clock skips it (the spring gap), and then skipEnd is the moment the
// skip ends, when the clock shows the first time after the gap.
struct RealMoments {
    std::vector<std::int64_t> shown;
    std::int64_t skipEnd = 0;
};
RealMoments realMomentsOf(const Clock& clock, std::int64_t local);

// The machine's local time and time zone.
class SystemClock final : public Clock {
public:
    LocalTime now() const override;
    std::int64_t realMilliseconds() const override;
    int utcOffsetAt(std::int64_t realSeconds) const override;
};

}  // namespace vaultrix
