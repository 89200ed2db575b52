#include <windows.h>

#include <cstdint>
#include <ctime>

#include "platform/Clock.h"

namespace vaultrix {
namespace {

constexpr std::int64_t kIntervalsFrom1601To1970 = 116444736000000000LL;
constexpr std::int64_t kIntervalsPerSecond = 10000000;

}  // namespace

// Through the system's own conversion with the rules of the year in question from the dynamic
// time-zone data, as the system clock shows them. (Not SystemTimeToTzSpecificLocalTimeEx, which
// Wine lacks; the rules of the UTC year serve, and no zone changes its clock at New Year.)
std::tm localCalendar(std::time_t time) {
    const auto intervals =
        static_cast<std::uint64_t>(time * kIntervalsPerSecond + kIntervalsFrom1601To1970);
    FILETIME file{static_cast<DWORD>(intervals), static_cast<DWORD>(intervals >> 32)};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    TIME_ZONE_INFORMATION rules{};
    FileTimeToSystemTime(&file, &universal);
    const bool converted = GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID &&
                           GetTimeZoneInformationForYear(universal.wYear, &zone, &rules) &&
                           SystemTimeToTzSpecificLocalTime(&rules, &universal, &local);
    // Without time-zone data the clock shows UTC.
    const SYSTEMTIME& shown = converted ? local : universal;
    std::tm tm{};
    tm.tm_year = shown.wYear - 1900;
    tm.tm_mon = shown.wMonth - 1;
    tm.tm_mday = shown.wDay;
    tm.tm_hour = shown.wHour;
    tm.tm_min = shown.wMinute;
    tm.tm_sec = shown.wSecond;
    tm.tm_wday = shown.wDayOfWeek;
    return tm;
}

}  // namespace vaultrix
