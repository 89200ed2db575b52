#include "engine/Scheduler.h"

#include <array>
#include <cstddef>
#include <utility>

namespace vaultrix {

namespace {

constexpr std::array<const char*, 8> kDayNames = {"Sonntag",    "Montag",  "Dienstag",  "Mittwoch",
                                                  "Donnerstag", "Freitag", "Sonnabend", kEveryDay};
constexpr int kEveryDayNumber = 7;
constexpr int kMinutesPerDay = 1440;
constexpr int kMinutesPerWeek = 7 * kMinutesPerDay;
// Above this no real countdown lies (the longest is 10079); it means "no active set".
constexpr int kNoActiveSetAbove = 11000;

// Minutes of day of a valid stored time "HH:MM".
int storedMinutesOfDay(std::string_view time) {
    const auto number = [&](std::size_t at) {
        return (time[at] - '0') * 10 + (time[at + 1] - '0');
    };
    return number(0) * 60 + number(3);
}

int minutesUntil(int day, int minuteOfDay, const LocalTime& now) {
    const int today = now.weekday;
    const int nowMinutes = now.hour * 60 + now.minute;
    const bool everyDay = day == kEveryDayNumber;
    if (everyDay || day == today) {
        if (nowMinutes <= minuteOfDay) return minuteOfDay - nowMinutes;
        return (everyDay ? kMinutesPerDay : kMinutesPerWeek) - nowMinutes + minuteOfDay;
    }
    const int daysAhead = day < today ? 7 - today + day : day - today;
    return daysAhead * kMinutesPerDay - nowMinutes + minuteOfDay;
}

bool isActive(const ScheduleEntry& entry) {
    return entry.active == "ja";
}

int nearestRun(const std::vector<ScheduleEntry>& table, const LocalTime& now) {
    int best = kNoNextRun;
    for (const ScheduleEntry& entry : table) {
        const int day = dayNumber(entry.day);
        // A day or time that never matches is never due, so it has no next run either.
        if (!isActive(entry) || day < 0 || !isValidTimeOfDay(entry.time)) continue;
        const int minutes = minutesUntil(day, storedMinutesOfDay(entry.time), now);
        if (minutes < best) best = minutes;
    }
    return best;
}

}  // namespace

std::string weekdayName(int number) {
    if (number < 0 || number >= static_cast<int>(kDayNames.size())) return {};
    return kDayNames[static_cast<std::size_t>(number)];
}

int dayNumber(std::string_view day) {
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (day == kDayNames[i]) return static_cast<int>(i);
    }
    return -1;
}

bool isValidTimeOfDay(std::string_view time) {
    const auto digit = [&](std::size_t at) { return time[at] >= '0' && time[at] <= '9'; };
    if (time.size() != 5 || time[2] != ':') return false;
    if (!digit(0) || !digit(1) || !digit(3) || !digit(4)) return false;
    return time.substr(0, 2) <= "23" && time[3] <= '5';
}

StatusText statusTextFor(bool tableEmpty, int minutes) {
    if (tableEmpty) {
        return {"Es wurde keine Sicherung angelegt !", "Es wurde keine\nSicherung angelegt !"};
    }
    if (minutes > kNoActiveSetAbove) {
        return {"Es ist keine Sicherung aktiv !", "Es ist keine\nSicherung aktiv !"};
    }
    if (minutes <= 0) return {"Sicherung wird ausgeführt !", "Sicherung wird\nausgeführt !"};
    const std::string m = std::to_string(minutes);
    if (minutes < 60) {
        return {"Noch " + m + " Minuten bis zur nächsten Sicherung",
                "Noch " + m + " Minuten bis zur\n nächsten Sicherung"};
    }
    const std::string h = std::to_string(minutes / 60);
    const std::string rest = std::to_string(minutes % 60);
    return {"Noch " + h + " Stunden und " + rest + " Minuten bis zur nächsten Sicherung",
            "Noch " + h + " Stunden\nund " + rest + " Minuten bis zur\nnächsten Sicherung"};
}

void Scheduler::LoadScheduleTable(const BackupSetStore& sets) {
    std::vector<ScheduleEntry> table;
    for (const std::string& name : sets.loadSetNames().names) {
        const BackupSet set = sets.loadSet(name);
        table.push_back({set.day, set.time, set.active ? "ja" : "nein", name});
    }
    setTable(std::move(table));
}

void Scheduler::setTable(std::vector<ScheduleEntry> table) {
    std::lock_guard lock(mutex_);
    table_ = std::move(table);
}

std::vector<ScheduleEntry> Scheduler::table() const {
    std::lock_guard lock(mutex_);
    return table_;
}

bool Scheduler::IsDueToday(std::string_view day, const LocalTime& now) {
    return day == kEveryDay || day == weekdayName(now.weekday);
}

bool Scheduler::IsDueNow(std::string_view time, const LocalTime& now) {
    return time == formatHourMinute(now);
}

std::vector<std::string> Scheduler::CollectDueSets(const LocalTime& now) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> due;
    for (const ScheduleEntry& entry : table_) {
        if (isActive(entry) && IsDueToday(entry.day, now) && IsDueNow(entry.time, now)) {
            due.push_back(entry.name);
        }
    }
    return due;
}

int Scheduler::MinutesToNextRun(const LocalTime& now) const {
    std::lock_guard lock(mutex_);
    return nearestRun(table_, now);
}

StatusText Scheduler::UpdateStatusText(const LocalTime& now) const {
    std::lock_guard lock(mutex_);
    return statusTextFor(table_.empty(), nearestRun(table_, now));
}

}  // namespace vaultrix
