#include "engine/Scheduler.h"

#include <optional>
#include <utility>

#include "common/Text.h"
#include "common/TimeOfDay.h"

namespace vaultrix {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Minutes of day of a valid stored time "HH:MM".
int storedMinutesOfDay(std::string_view time) {
    return leadingNumber(time.substr(0, 2)) * 60 + leadingNumber(time.substr(3, 2));
}

// The next run of an entry: the real minutes until it and the date and minute it is due for.
struct NextRun {
    int minutes = 0;
    LocalMinute minute = 0;
};

std::optional<NextRun> nextRun(const ScheduleEntry& entry, const Clock& clock, const LocalTime& now,
                               const LastRuns& lastRuns) {
    const int day = dayNumber(entry.day);
    // A day or time that never matches is never due, so it has no next run either.
    if (!entry.active || day < 0 || !isValidTimeOfDay(entry.time)) return std::nullopt;
    const auto ran = lastRuns.find(entry.name);
    const std::int64_t thisMinute = realSeconds(now) - now.second;
    const LocalMinute midnight = localSeconds(now.year, now.month, now.day, 0, 0, 0);
    // From yesterday, whose late times a gap across midnight moves into today, to two weeks
    // ahead: the nearest time may be the one the set ran for before the clock was set back over
    // it, and the next one is then a week after that.
    for (int ahead = -1; ahead <= 14; ++ahead) {
        const bool dayMatches = day == kEveryDayNumber || day == (now.weekday + ahead + 7) % 7;
        const LocalMinute minute =
            midnight + ahead * kSecondsPerDay + storedMinutesOfDay(entry.time) * 60;
        if (!dayMatches || (ran != lastRuns.end() && ran->second == minute)) continue;
        const RealMoments moments = realMomentsOf(clock, minute);
        const std::vector<std::int64_t> runs =
            moments.shown.empty() ? std::vector<std::int64_t>{moments.skipEnd} : moments.shown;
        for (const std::int64_t run : runs) {
            if (run >= thisMinute) {
                return NextRun{static_cast<int>((run - thisMinute) / 60), minute};
            }
        }
    }
    return std::nullopt;
}

int nearestRun(const std::vector<ScheduleEntry>& table, const Clock& clock, const LocalTime& now,
               const LastRuns& lastRuns) {
    int best = kNoNextRun;
    for (const ScheduleEntry& entry : table) {
        const std::optional<NextRun> next = nextRun(entry, clock, now, lastRuns);
        if (next && next->minutes < best) best = next->minutes;
    }
    return best;
}

}  // namespace

bool isValidTimeOfDay(std::string_view time) {
    if (time.size() != 5 || time[2] != ':') return false;
    const char digits[] = {time[0], time[1], time[3], time[4]};
    return isTimeOfDayDigits(std::string_view(digits, sizeof digits));
}

StatusText statusTextFor(bool tableEmpty, int minutes) {
    if (tableEmpty) {
        return {"Es wurde keine Sicherung angelegt !", "Es wurde keine\nSicherung angelegt !"};
    }
    if (minutes >= kNoNextRun) {
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
    for (BackupSet& set : sets.loadAllSets()) {
        table.push_back({std::move(set.day), std::move(set.time), set.active, std::move(set.name)});
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

std::vector<DueSet> Scheduler::CollectDueSets(const Clock& clock, const LocalTime& now,
                                              const LastRuns& lastRuns) const {
    std::lock_guard lock(mutex_);
    std::vector<DueSet> due;
    for (const ScheduleEntry& entry : table_) {
        const std::optional<NextRun> next = nextRun(entry, clock, now, lastRuns);
        if (next && next->minutes == 0) due.push_back({entry.name, next->minute});
    }
    return due;
}

int Scheduler::MinutesToNextRun(const Clock& clock, const LocalTime& now,
                                const LastRuns& lastRuns) const {
    std::lock_guard lock(mutex_);
    return nearestRun(table_, clock, now, lastRuns);
}

StatusText Scheduler::UpdateStatusText(const Clock& clock, const LocalTime& now,
                                       const LastRuns& lastRuns) const {
    std::lock_guard lock(mutex_);
    return statusTextFor(table_.empty(), nearestRun(table_, clock, now, lastRuns));
}

}  // namespace vaultrix
