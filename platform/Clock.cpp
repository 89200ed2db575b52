#include "platform/Clock.h"

#include <chrono>
#include <cstdio>

namespace vaultrix {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// The offset from UTC of a broken-down local time made from a moment.
int offsetOf(const std::tm& tm, std::time_t time) {
    return static_cast<int>(localSeconds(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                                         tm.tm_min, tm.tm_sec) -
                            time);
}

}  // namespace

std::string formatDate(const LocalTime& t) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", t.year);
    return twoDigits(t.day) + "." + twoDigits(t.month) + "." + year;
}

std::string formatTime(const LocalTime& t) {
    return formatHourMinute(t) + ":" + twoDigits(t.second);
}

std::string formatHourMinute(const LocalTime& t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute);
}

std::int64_t localSeconds(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    const sys_days date =
        std::chrono::year(year) / static_cast<unsigned>(month) / static_cast<unsigned>(day);
    return date.time_since_epoch().count() * kSecondsPerDay + hour * 3600LL + minute * 60LL +
           second;
}

std::int64_t localSeconds(const LocalTime& t) {
    return localSeconds(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::int64_t realSeconds(const LocalTime& t) {
    return localSeconds(t) - t.utcOffset;
}

LocalTime localTimeAt(std::int64_t realSeconds, int utcOffset) {
    using namespace std::chrono;
    const std::int64_t local = realSeconds + utcOffset;
    const sys_days date = floor<days>(sys_seconds(seconds(local)));
    const year_month_day ymd(date);
    const std::int64_t ofDay = local - date.time_since_epoch().count() * kSecondsPerDay;
    LocalTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    t.hour = static_cast<int>(ofDay / 3600);
    t.minute = static_cast<int>(ofDay / 60 % 60);
    t.second = static_cast<int>(ofDay % 60);
    t.weekday = static_cast<int>(weekday(date).c_encoding());
    t.utcOffset = utcOffset;
    return t;
}

RealMoments realMomentsOf(const Clock& clock, std::int64_t local) {
    // An offset stays below a day and clocks change far less than twice in two days, so the
    // offsets a day either side are the only ones the local time can have been shown under.
    const int before = clock.utcOffsetAt(local - kSecondsPerDay);
    const int after = clock.utcOffsetAt(local + kSecondsPerDay);
    RealMoments moments;
    // Shown twice only when the clock was set back (before > after): local − before comes first.
    for (const int offset : {before, after}) {
        const std::int64_t real = local - offset;
        const bool known = !moments.shown.empty() && moments.shown.front() == real;
        if (!known && clock.utcOffsetAt(real) == offset) moments.shown.push_back(real);
    }
    if (!moments.shown.empty()) return moments;

    // Skipped: the change lies between the two readings; find its first second.
    std::int64_t old = local - after;
    std::int64_t changed = local - before;
    while (changed - old > 1) {
        const std::int64_t middle = old + (changed - old) / 2;
        if (clock.utcOffsetAt(middle) == after) {
            changed = middle;
        } else {
            old = middle;
        }
    }
    moments.skipEnd = changed;
    return moments;
}

LocalTime localTimeFrom(const std::tm& tm) {
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    // A leap second shows as the last second of its minute.
    t.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    t.weekday = tm.tm_wday;
    return t;
}

LocalTime SystemClock::now() const {
    using namespace std::chrono;
    // To the nearest second: half a second and more rounds up.
    const auto rounded = floor<seconds>(system_clock::now() + milliseconds(500));
    const std::time_t time = system_clock::to_time_t(rounded);
    const std::tm tm = localCalendar(time);
    LocalTime t = localTimeFrom(tm);
    t.utcOffset = offsetOf(tm, time);
    return t;
}

std::int64_t SystemClock::realMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

int SystemClock::utcOffsetAt(std::int64_t realSeconds) const {
    const auto time = static_cast<std::time_t>(realSeconds);
    return offsetOf(localCalendar(time), time);
}

}  // namespace vaultrix
