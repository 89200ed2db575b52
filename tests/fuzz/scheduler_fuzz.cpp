// The scheduler over arbitrary "savename.ini" and "save.ini" and a clock whose time zone changes
// its offset now and then (fuzzed changes, or central European summer time). The table holds
// what the store reads for each listed set. Then, for each set at arbitrary moments: it is
// collected as due exactly when its countdown is 0; a set that is not active or whose day or
// time never matches is neither due nor counted; any other set is due whenever the clock shows
// its time on its day (unless it ran for that date and minute already) and only then or right
// after the clock skipped its time; its countdown is at most a day or a week plus what the
// clock is set back on the way, and points at a moment where it is 0, one real minute after a
// moment where it is 1. The table's countdown is the smallest of its sets', its due list theirs
// in table order.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "engine/Scheduler.h"
#include "store/BackupSetStore.h"
#include "support/FakeClock.h"

namespace vaultrix {
namespace {

using fuzz::require;

constexpr std::int64_t kDay = 86400;
const std::string kDays[] = {"Sonntag",    "Montag",  "Dienstag",  "Mittwoch",
                             "Donnerstag", "Freitag", "Sonnabend", "täglich"};

// A time zone with a few clock changes at whole minutes, days apart, by quarter hours up to three
// hours, as real zones change.
class ZoneClock final : public Clock {
public:
    explicit ZoneClock(FuzzedDataProvider& steps) {
        offset_ = 900 * steps.ConsumeIntegralInRange(-48, 56);
        std::int64_t at = localSeconds(2026, 1, 1, 0, 0, 0) +
                          steps.ConsumeIntegralInRange(0, 364) * kDay +
                          steps.ConsumeIntegralInRange(0, 1439) * 60;
        int offset = offset_;
        for (int n = steps.ConsumeIntegralInRange(0, 3); n > 0; --n) {
            const int by = 900 * steps.ConsumeIntegralInRange(1, 12);
            offset = std::clamp(offset + (steps.ConsumeBool() ? by : -by), -14 * 3600, 14 * 3600);
            changes_.push_back({at, offset});
            at += steps.ConsumeIntegralInRange(3, 60) * kDay +
                  steps.ConsumeIntegralInRange(0, 1439) * 60;
        }
    }
    // The scheduler is handed its readings; only the zone rule is asked of the clock.
    LocalTime now() const override { return {}; }
    int utcOffsetAt(std::int64_t real) const override {
        int offset = offset_;
        for (const auto& [at, to] : changes_) {
            offset = real >= at ? to : offset;
        }
        return offset;
    }
    // Moments near which the clock changes.
    std::vector<std::int64_t> changes() const {
        std::vector<std::int64_t> moments;
        for (const auto& change : changes_) {
            moments.push_back(change.first);
        }
        return moments;
    }
    // The most the clock can be set back in all, in seconds: highest offset less lowest.
    int largestSetBack() const {
        int highest = offset_;
        int lowest = offset_;
        for (const auto& change : changes_) {
            highest = std::max(highest, change.second);
            lowest = std::min(lowest, change.second);
        }
        return highest - lowest;
    }

private:
    int offset_ = 0;
    std::vector<std::pair<std::int64_t, int>> changes_;  // real moment, offset from then on
};

// Minutes of day of "HH:MM" with hours 00 … 23 and minutes 00 … 59; none for any other text.
std::optional<int> minutesOfDay(const std::string& time) {
    const auto digit = [&](std::size_t i) { return time[i] >= '0' && time[i] <= '9'; };
    if (time.size() != 5 || time[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4)) {
        return std::nullopt;
    }
    const int hours = (time[0] - '0') * 10 + (time[1] - '0');
    const int minutes = (time[3] - '0') * 10 + (time[4] - '0');
    if (hours > 23 || minutes > 59) {
        return std::nullopt;
    }
    return hours * 60 + minutes;
}

// The number of a day text, "täglich" 7; none for any other text.
std::optional<int> dayOf(const std::string& day) {
    const auto found = std::ranges::find(kDays, day);
    if (found == std::end(kDays)) {
        return std::nullopt;
    }
    return static_cast<int>(found - std::begin(kDays));
}

// What the clock shows at a real moment, as seconds counted as if local time were UTC.
std::int64_t shownAt(const Clock& clock, std::int64_t real) {
    return real + clock.utcOffsetAt(real);
}

LocalTime readingAt(const Clock& clock, std::int64_t real) {
    return localTimeAt(real, clock.utcOffsetAt(real));
}

// A set the scheduler counts: active, with a day and a time that exist.
struct Counted {
    int day;
    int minutes;
};
std::optional<Counted> counted(const ScheduleEntry& entry) {
    const auto day = dayOf(entry.day);
    const auto minutes = minutesOfDay(entry.time);
    if (!entry.active || !day || !minutes) {
        return std::nullopt;
    }
    return Counted{*day, *minutes};
}

// A clock and the most it is ever set back, in seconds.
struct Zone {
    const Clock& clock;
    int setBack;
};

// The runs the backup thread remembers happened before now, or up to three hours after what
// the clock shows when it was set back since.
constexpr std::int64_t kRanAhead = 3 * 3600;

// The countdown of one set at a moment, with every rule that holds at that moment.
int checkedCountdown(const ScheduleEntry& entry, const Zone& zone, const LocalTime& now,
                     const LastRuns& ran) {
    const Clock& clock = zone.clock;
    Scheduler one;
    one.setTable({entry});
    const int minutes = one.MinutesToNextRun(clock, now, ran);
    const auto due = one.CollectDueSets(clock, now, ran);
    require(due.size() == (minutes == 0 ? 1u : 0u), "a set is due exactly when its countdown is 0");
    const auto set = counted(entry);
    if (!set) {
        require(minutes == kNoNextRun, "a set that never matches is not counted");
        return minutes;
    }
    const std::int64_t thisMinute = realSeconds(now) - now.second;
    const std::int64_t shownMinute = localSeconds(now) - now.second;
    const auto last = ran.find(entry.name);
    // A run remembered ahead of the clock (set back since) can hold off the next time for a week.
    const std::int64_t ranAhead =
        last != ran.end() && last->second > shownMinute ? (last->second - shownMinute) / 60 : 0;
    const int days = set->day == 7 ? 1 : 7;
    require(minutes >= 0 && minutes <= days * 1440 + ranAhead + zone.setBack / 60,
            "the countdown is at most a day or a week, what the clock is set back and how far "
            "ahead the set last ran");

    const bool onItsDay = set->day == 7 || set->day == now.weekday;
    const bool showsItsTime = now.hour * 60 + now.minute == set->minutes && onItsDay;
    const bool ranThisMinute = last != ran.end() && last->second == shownMinute;
    if (showsItsTime && !ranThisMinute) {
        require(minutes == 0, "a set is due when the clock shows its time on its day");
    }
    // The clock may have skipped the set's time at the start of this minute (a spring gap).
    for (LocalMinute at = (shownAt(clock, thisMinute - 1) / 60 + 1) * 60; at < shownMinute;
         at += 60) {
        const bool itsTime = at % kDay == set->minutes * 60 &&
                             (set->day == 7 || set->day == localTimeAt(at, 0).weekday);
        if (itsTime && (last == ran.end() || last->second != at)) {
            require(minutes == 0, "a set whose time the clock skipped is due right after the skip");
        }
    }
    if (!due.empty()) {
        const LocalMinute at = due.front().minute;
        const int weekday = localTimeAt(at, 0).weekday;
        require(at % kDay == set->minutes * 60 && (set->day == 7 || set->day == weekday),
                "a set is due for its time on its day");
        const bool skipped = shownAt(clock, thisMinute - 1) < at && at < shownAt(clock, thisMinute);
        require((at == shownMinute && showsItsTime) || skipped,
                "a set is due when the clock shows its time or has just skipped it");
        require(last == ran.end() || last->second != at, "a set never runs twice for one minute");
    }
    return minutes;
}

}  // namespace
}  // namespace vaultrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultrix;
    const auto input = fuzz::splitInput(data, size, 2);
    fuzz::placeFile(fuzz::scratch() / kSetNameFileName, input.files[0]);
    fuzz::placeFile(fuzz::scratch() / kSetFileName, input.files[1]);
    const BackupSetStore store(fuzz::scratch());
    Scheduler scheduler;
    scheduler.LoadScheduleTable(store);

    const auto names = store.loadSetNames().names;
    const auto table = scheduler.table();
    require(table.size() == names.size(), "the table has an entry per listed set");
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto set = store.loadSet(names[i]);
        require(table[i].name == names[i] && table[i].day == set.day && table[i].time == set.time &&
                    table[i].active == set.active,
                "the table holds what the store reads of each listed set");
    }

    FuzzedDataProvider steps(reinterpret_cast<const std::uint8_t*>(input.steps.data()),
                             input.steps.size());
    const test::FakeClock summerTime(test::centralEuropean);
    const ZoneClock fuzzed(steps);
    const Zone zone =
        steps.ConsumeBool() ? Zone{fuzzed, fuzzed.largestSetBack()} : Zone{summerTime, 3600};
    const Clock& clock = zone.clock;
    // Readings near the changes of either clock; central European time changes at 01:00 UTC on
    // the last Sundays of March and October.
    auto near = fuzzed.changes();
    near.push_back(localSeconds(2026, 3, 29, 1, 0, 0));
    near.push_back(localSeconds(2026, 10, 25, 1, 0, 0));

    for (int reading = 0; reading < 4 && steps.remaining_bytes() > 0; ++reading) {
        const std::int64_t from =
            near[steps.ConsumeIntegralInRange<std::size_t>(0, near.size() - 1)];
        // In the minute after a change, in the hours before one, or within two days of it.
        const std::pair<std::int64_t, std::int64_t> ranges[] = {
            {0, 59}, {-kRanAhead, 0}, {-2 * kDay, 2 * kDay}};
        const auto& [earliest, latest] = fuzz::pick(steps, ranges);
        const LocalTime now =
            readingAt(clock, from + steps.ConsumeIntegralInRange(earliest, latest));
        // Some sets ran already: for their time yesterday or today, or, when the clock was set
        // back by days since, for one up to a week ahead.
        LastRuns ran;
        const std::int64_t shownMinute = localSeconds(now) - now.second;
        for (const ScheduleEntry& entry : table) {
            const auto minutes = minutesOfDay(entry.time);
            if (minutes && steps.ConsumeBool()) {
                const int daysBack = steps.ConsumeBool() ? steps.ConsumeIntegralInRange(0, 1)
                                                         : -steps.ConsumeIntegralInRange(1, 7);
                const LocalMinute minute = localSeconds(now.year, now.month, now.day, 0, 0, 0) -
                                           daysBack * kDay + *minutes * 60;
                if (daysBack < 0 || minute <= shownMinute + kRanAhead) {
                    ran[entry.name] = minute;
                }
            }
        }

        // Each of the first dozen sets alone, so that an input stays quick; then the table.
        int best = kNoNextRun;
        std::vector<std::string> due;
        for (std::size_t i = 0; i < table.size() && i < 12; ++i) {
            const ScheduleEntry& entry = table[i];
            const int minutes = checkedCountdown(entry, zone, now, ran);
            best = std::min(best, minutes);
            if (minutes == 0) {
                due.push_back(entry.name);
            }
            if (minutes == 0 || minutes == kNoNextRun) {
                continue;
            }
            // Where the countdown points, at any second of that minute and of the one before.
            const std::int64_t at = realSeconds(now) - now.second + minutes * 60LL;
            const int second = steps.ConsumeIntegralInRange(0, 59);
            require(checkedCountdown(entry, zone, readingAt(clock, at + second), ran) == 0,
                    "the countdown points at a moment the set is due");
            require(checkedCountdown(entry, zone, readingAt(clock, at - 60 + second), ran) == 1,
                    "a minute before, the countdown is 1");
        }
        if (table.size() > 12) {
            continue;
        }
        require(scheduler.MinutesToNextRun(clock, now, ran) == best,
                "the table's countdown is the smallest of its sets'");
        std::vector<std::string> collected;
        for (const DueSet& set : scheduler.CollectDueSets(clock, now, ran)) {
            collected.push_back(set.name);
        }
        require(collected == due, "the due sets are those with countdown 0, in table order");
        require(scheduler.UpdateStatusText(clock, now, ran) == statusTextFor(table.empty(), best),
                "the status text tells the table's countdown");
    }
    return 0;
}
