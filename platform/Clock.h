#pragma once

#include <ctime>
#include <string>

namespace vaultrix {

// A local date and time to the whole second, with the weekday (Sunday = 0).
struct LocalTime {
    int year = 1970;
    int month = 1;    // 1 … 12
    int day = 1;      // 1 … 31
    int hour = 0;     // 0 … 23
    int minute = 0;   // 0 … 59
    int second = 0;   // 0 … 59
    int weekday = 4;  // 0 Sunday … 6 Saturday

    bool operator==(const LocalTime&) const = default;
};

// "06.12.2026"
std::string formatDate(const LocalTime& t);
// "19:30:05"
std::string formatTime(const LocalTime& t);
// "19:30", the form a stored time of day takes
std::string formatHourMinute(const LocalTime& t);

// The fields of a broken-down local time from the C library.
LocalTime localTimeFrom(const std::tm& tm);
// The calendar fields of a moment in the machine's time zone (one file per OS).
std::tm localCalendar(std::time_t time);

// The clock is passed in, never read from a global, so tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    // Local time rounded to the nearest second (half a second and more rounds up).
    virtual LocalTime now() const = 0;
};

// The machine's local time.
class SystemClock final : public Clock {
public:
    LocalTime now() const override;
};

}  // namespace vaultrix
