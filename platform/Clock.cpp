#include "platform/Clock.h"

#include <chrono>
#include <cstdio>

namespace vaultrix {
namespace {

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
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
    return localTimeFrom(localCalendar(system_clock::to_time_t(rounded)));
}

}  // namespace vaultrix
