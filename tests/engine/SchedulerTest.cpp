#include "engine/Scheduler.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using test::at;
using test::in2026;

// Weekdays, Sunday = 0.
constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kWednesday = 3;
constexpr int kSaturday = 6;

// A scheduler that starts with the given table and answers under its own zone rule; without
// one the offset stays 0 all year, so local minutes are real minutes.
struct SchedulerWith : Scheduler {
    explicit SchedulerWith(std::vector<ScheduleEntry> table, test::FakeClock::Rule rule = nullptr)
        : zone(rule) {
        setTable(std::move(table));
    }
    std::vector<std::string> CollectDueSets(const LocalTime& now) const {
        std::vector<std::string> names;
        for (const DueSet& set : Scheduler::CollectDueSets(zone, now)) names.push_back(set.name);
        return names;
    }
    int MinutesToNextRun(const LocalTime& now, const LastRuns& ran = {}) const {
        return Scheduler::MinutesToNextRun(zone, now, ran);
    }
    StatusText UpdateStatusText(const LocalTime& now, const LastRuns& ran = {}) const {
        return Scheduler::UpdateStatusText(zone, now, ran);
    }

    test::FakeClock zone;
};

TEST(SchedulerTest, StatusTextsInBothForms) {
    EXPECT_EQ(statusTextFor(true, kNoNextRun),
              (StatusText{"Es wurde keine Sicherung angelegt !",
                          "Es wurde keine\nSicherung angelegt !"}));
    EXPECT_EQ(statusTextFor(false, kNoNextRun),
              (StatusText{"Es ist keine Sicherung aktiv !", "Es ist keine\nSicherung aktiv !"}));
    EXPECT_EQ(statusTextFor(false, 0),
              (StatusText{"Sicherung wird ausgeführt !", "Sicherung wird\nausgeführt !"}));
    EXPECT_EQ(statusTextFor(false, 59),
              (StatusText{"Noch 59 Minuten bis zur nächsten Sicherung",
                          "Noch 59 Minuten bis zur\n nächsten Sicherung"}));
    EXPECT_EQ(statusTextFor(false, 60),
              (StatusText{"Noch 1 Stunden und 0 Minuten bis zur nächsten Sicherung",
                          "Noch 1 Stunden\nund 0 Minuten bis zur\nnächsten Sicherung"}));
}

TEST(SchedulerTest, EmptyTableAndOnlyInactiveSets) {
    const LocalTime now = at(7, 12, 2026, 7, 15, 0, kMonday);
    EXPECT_EQ(SchedulerWith({}).UpdateStatusText(now).oneLine,
              "Es wurde keine Sicherung angelegt !");

    const SchedulerWith inactive(
        {{"Montag", "07:15", false, "Aus"}, {"täglich", "07:15", false, "Auch aus"}});
    EXPECT_TRUE(inactive.CollectDueSets(now).empty());
    EXPECT_EQ(inactive.MinutesToNextRun(now), kNoNextRun);
    EXPECT_EQ(inactive.UpdateStatusText(now).oneLine, "Es ist keine Sicherung aktiv !");
}

TEST(SchedulerTest, SameDayLaterAndEarlierThanNow) {
    const SchedulerWith scheduler({{"Montag", "08:00", true, "Woche"}});

    const LocalTime before = at(7, 12, 2026, 7, 15, 0, kMonday);
    EXPECT_EQ(scheduler.MinutesToNextRun(before), 45);
    EXPECT_EQ(scheduler.UpdateStatusText(before),
              (StatusText{"Noch 45 Minuten bis zur nächsten Sicherung",
                          "Noch 45 Minuten bis zur\n nächsten Sicherung"}));

    // Just past: the same weekday next week.
    const LocalTime after = at(7, 12, 2026, 8, 1, 0, kMonday);
    EXPECT_EQ(scheduler.MinutesToNextRun(after), 10079);
    EXPECT_EQ(scheduler.UpdateStatusText(after),
              (StatusText{"Noch 167 Stunden und 59 Minuten bis zur nächsten Sicherung",
                          "Noch 167 Stunden\nund 59 Minuten bis zur\nnächsten Sicherung"}));
}

TEST(SchedulerTest, EveryDaySetPastItsTimeIsDueTomorrow) {
    const SchedulerWith scheduler({{"täglich", "08:00", true, "Tag"}});
    const LocalTime now = at(9, 12, 2026, 9, 0, 0, kWednesday);
    EXPECT_EQ(scheduler.MinutesToNextRun(now), 1380);
    EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine,
              "Noch 23 Stunden und 0 Minuten bis zur nächsten Sicherung");
}

TEST(SchedulerTest, OtherWeekdaysAheadAndBehind) {
    const SchedulerWith sunday({{"Sonntag", "10:30", true, "So"}});
    const LocalTime saturdayNight = at(12, 12, 2026, 22, 0, 0, kSaturday);
    EXPECT_EQ(sunday.MinutesToNextRun(saturdayNight), 750);
    EXPECT_EQ(sunday.UpdateStatusText(saturdayNight).oneLine,
              "Noch 12 Stunden und 30 Minuten bis zur nächsten Sicherung");

    // Monday seen from Wednesday at the same time: five days ahead.
    const SchedulerWith monday({{"Montag", "08:00", true, "Mo"}});
    EXPECT_EQ(monday.MinutesToNextRun(at(9, 12, 2026, 8, 0, 0, kWednesday)), 5 * 1440);
    EXPECT_EQ(monday.MinutesToNextRun(at(13, 12, 2026, 8, 0, 0, kSunday)), 1440);
}

TEST(SchedulerTest, DueForTheWholeMinuteInTableOrder) {
    const SchedulerWith scheduler({{"täglich", "08:00", true, "Erster"},
                                   {"Dienstag", "08:00", true, "Falscher Tag"},
                                   {"Montag", "08:00", false, "Aus"},
                                   {"Montag", "08:00", true, "Zweiter"}});
    for (int second : {0, 30, 59}) {
        const LocalTime now = at(7, 12, 2026, 8, 0, second, kMonday);
        EXPECT_EQ(scheduler.CollectDueSets(now), (std::vector<std::string>{"Erster", "Zweiter"}));
        EXPECT_EQ(scheduler.MinutesToNextRun(now), 0);
        EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine, "Sicherung wird ausgeführt !");
    }
    EXPECT_TRUE(scheduler.CollectDueSets(at(7, 12, 2026, 8, 1, 0, kMonday)).empty());
}

TEST(SchedulerTest, NearestOfSeveralSetsWins) {
    const SchedulerWith scheduler({{"Freitag", "08:00", true, "Fern"},
                                   {"täglich", "12:00", true, "Nah"},
                                   {"Montag", "09:30", true, "Naechst"}});
    EXPECT_EQ(scheduler.MinutesToNextRun(at(7, 12, 2026, 9, 0, 0, kMonday)), 30);
}

TEST(SchedulerTest, UnknownDayIsNeverDueAndNotCounted) {
    // Day texts are matched exactly: "montag" is no Monday.
    const SchedulerWith scheduler(
        {{"Samstag", "08:00", true, "Tippfehler"}, {"montag", "08:00", true, "Klein"}});
    for (const LocalTime& now :
         {at(12, 12, 2026, 8, 0, 0, kSaturday), at(14, 12, 2026, 8, 0, 0, kMonday)}) {
        EXPECT_TRUE(scheduler.CollectDueSets(now).empty());
        EXPECT_EQ(scheduler.MinutesToNextRun(now), kNoNextRun);
        EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine, "Es ist keine Sicherung aktiv !");
    }
}

TEST(SchedulerTest, OnlyValidTimesOfDayAreDueOrCounted) {
    for (const char* time : {"00:00", "23:59", "09:05"})
        EXPECT_TRUE(isValidTimeOfDay(time)) << time;
    for (const char* time : {"69", "", ":", "1:", ":30", "24:00", "12:60", "8:30", "08:3", "08-30",
                             "08:30 ", "0x:30"}) {
        EXPECT_FALSE(isValidTimeOfDay(time)) << time;
        // Monday 00:00 is where the digits of a broken time used to point the countdown.
        const SchedulerWith broken({{"täglich", time, true, "Kaputt"}});
        const LocalTime midnight = at(7, 12, 2026, 0, 0, 0, kMonday);
        EXPECT_TRUE(broken.CollectDueSets(midnight).empty()) << time;
        EXPECT_EQ(broken.MinutesToNextRun(midnight), kNoNextRun) << time;
        EXPECT_EQ(broken.UpdateStatusText(midnight).oneLine, "Es ist keine Sicherung aktiv !");
    }
}

// "hh:mm+1": a local time and its UTC offset in hours.
std::string shown(const LocalTime& t) {
    return formatHourMinute(t) + "+" + std::to_string(t.utcOffset / 3600);
}

// Readings of the clock every 30 real seconds under the scheduler's zone rule.
std::vector<LocalTime> every30s(const SchedulerWith& scheduler, const LocalTime& from,
                                const LocalTime& to) {
    std::vector<LocalTime> readings;
    for (std::int64_t real = realSeconds(from); real <= realSeconds(to); real += 30) {
        readings.push_back(localTimeAt(real, scheduler.zone.utcOffsetAt(real)));
    }
    return readings;
}

// Plays the backup thread over readings of the clock: the due sets run and are remembered in
// `ran`. Gives "name hh:mm+offset" per run. From one reading to the next 30 real seconds later,
// the countdown stays or goes down by the minute that began, unless a set was due.
std::vector<std::string> play(const SchedulerWith& scheduler,
                              const std::vector<LocalTime>& readings, LastRuns& ran) {
    std::vector<std::string> runs;
    std::optional<std::pair<std::int64_t, int>> before;  // real seconds and countdown
    for (const LocalTime& now : readings) {
        const int minutes = scheduler.MinutesToNextRun(now, ran);
        if (before && before->second > 0 && realSeconds(now) - before->first == 30) {
            EXPECT_EQ(minutes, before->second - (now.second == 0 ? 1 : 0))
                << formatDate(now) << " " << formatTime(now) << shown(now);
        }
        before = {realSeconds(now), minutes};
        for (const DueSet& set : scheduler.Scheduler::CollectDueSets(scheduler.zone, now, ran)) {
            ran[set.name] = set.minute;
            runs.push_back(set.name + " " + shown(now));
        }
    }
    return runs;
}

TEST(SchedulerClockChange, EverySetRunsOnceOnTheNightsTheClocksChange) {
    const std::vector<ScheduleEntry> table = {
        {"Sonnabend", "23:30", true, "Abend"}, {"täglich", "01:59", true, "Davor"},
        {"täglich", "02:00", true, "Zwei"},    {"Sonntag", "02:30", true, "Halb"},
        {"Montag", "02:30", true, "Montags"},  {"täglich", "02:59", true, "Spaet"},
        {"täglich", "03:00", true, "Drei"}};
    // Clocks going from 23:00 straight to 00:00 on the night into Sunday 29 March.
    const test::FakeClock::Rule midnightGap = [](std::int64_t real) {
        return real < localSeconds(2026, 3, 28, 22, 0, 0) ? 3600 : 7200;
    };
    struct Row {
        test::FakeClock::Rule rule;
        LocalTime from;
        LocalTime to;
        std::vector<std::string> runs;
    };
    const std::vector<Row> rows = {
        {test::centralEuropean,
         in2026(28, 3, 23, 0, 1),
         in2026(29, 3, 5, 0, 2),
         {"Abend 23:30+1", "Davor 01:59+1", "Zwei 03:00+2", "Halb 03:00+2", "Spaet 03:00+2",
          "Drei 03:00+2"}},
        {test::centralEuropean,
         in2026(24, 10, 23, 0, 2),
         in2026(25, 10, 5, 0, 1),
         {"Abend 23:30+2", "Davor 01:59+2", "Zwei 02:00+2", "Halb 02:30+2", "Spaet 02:59+2",
          "Drei 03:00+1"}},
        {midnightGap, in2026(28, 3, 22, 0, 1), in2026(29, 3, 1, 0, 2), {"Abend 00:00+2"}},
    };
    for (const Row& row : rows) {
        const SchedulerWith scheduler(table, row.rule);
        LastRuns ran;
        EXPECT_EQ(play(scheduler, every30s(scheduler, row.from, row.to), ran), row.runs)
            << formatDate(row.from);
    }
}

TEST(SchedulerClockChange, CountdownInRealMinutesAroundBothChanges) {
    struct Row {
        LocalTime now;
        const char* day;
        const char* time;
        int minutes;
    };
    const std::vector<Row> rows = {
        // Spring: the Saturday before, the night, the days after, a week across.
        {in2026(28, 3, 5, 0, 1), "täglich", "04:00", 22 * 60},
        {in2026(29, 3, 1, 59, 1), "täglich", "02:30", 1},
        {in2026(29, 3, 1, 59, 1), "täglich", "04:00", 61},
        {in2026(29, 3, 3, 1, 2), "täglich", "02:30", 23 * 60 + 29},
        {in2026(30, 3, 5, 0, 2), "täglich", "04:00", 23 * 60},
        {in2026(22, 3, 8, 1, 1), "Sonntag", "08:00", 7 * 1440 - 61},
        // Autumn: the Saturday before, both passes of the repeated hour, the day after.
        {in2026(24, 10, 5, 0, 2), "täglich", "04:00", 24 * 60},
        {in2026(25, 10, 2, 10, 2), "täglich", "04:00", 170},
        {in2026(25, 10, 2, 10, 1), "täglich", "04:00", 110},
        {in2026(25, 10, 2, 10, 1), "täglich", "02:30", 20},
        {in2026(26, 10, 5, 0, 1), "täglich", "04:00", 23 * 60},
        {in2026(18, 10, 8, 1, 2), "Sonntag", "08:00", 7 * 1440 + 59},
    };
    for (const Row& row : rows) {
        const SchedulerWith scheduler({{row.day, row.time, true, "Satz"}}, test::centralEuropean);
        EXPECT_EQ(scheduler.MinutesToNextRun(row.now), row.minutes)
            << formatDate(row.now) << " " << shown(row.now) << " " << row.time;
    }
}

TEST(SchedulerClockChange, AClockSetByHandRunsNothingTwiceAndCatchesNothingUp) {
    const auto jan = [](int hour, int minute, int second) {
        LocalTime t = in2026(14, 1, hour, minute, 1);
        t.second = second;
        return t;
    };
    struct Row {
        const char* what;
        std::vector<LocalTime> readings;
        std::vector<std::string> runs;
    };
    const std::vector<Row> rows = {
        {"back a minute",
         {jan(8, 0, 10), jan(8, 1, 10), jan(8, 0, 10), jan(8, 0, 59)},
         {"Tag 08:00+1"}},
        {"back an hour",
         {jan(8, 0, 10), jan(8, 1, 10), jan(7, 1, 10), jan(8, 0, 0), jan(8, 0, 30)},
         {"Tag 08:00+1"}},
        {"ahead over the time", {jan(7, 59, 0), jan(9, 30, 0)}, {}},
    };
    for (const Row& row : rows) {
        const SchedulerWith scheduler({{"täglich", "08:00", true, "Tag"}}, test::centralEuropean);
        LastRuns ran;
        EXPECT_EQ(play(scheduler, row.readings, ran), row.runs) << row.what;
    }

    // Edited to a later time on the day it ran: it runs again.
    SchedulerWith scheduler({{"täglich", "08:00", true, "Tag"}}, test::centralEuropean);
    LastRuns ran;
    play(scheduler, {jan(8, 0, 0)}, ran);
    scheduler.setTable({{"täglich", "09:00", true, "Tag"}});
    EXPECT_EQ(play(scheduler, {jan(8, 1, 0), jan(9, 0, 0), jan(9, 0, 30)}, ran),
              (std::vector<std::string>{"Tag 09:00+1"}));
}

TEST(SchedulerClockChange, AClockSetBackOverARunCountsDownToTheNextTimeHoweverFarItIs) {
    // Ran on Monday 7 December at 08:00; then the clock is set back.
    const SchedulerWith monday({{"Montag", "08:00", true, "Mo"}}, test::centralEuropean);
    const SchedulerWith daily({{"täglich", "08:00", true, "Tag"}}, test::centralEuropean);
    const LastRuns ran = {{"Mo", localSeconds(2026, 12, 7, 8, 0, 0)},
                          {"Tag", localSeconds(2026, 12, 7, 8, 0, 0)}};
    struct Row {
        LocalTime now;
        int monday;
        int daily;
    };
    const std::vector<Row> rows = {
        // The same minute again, and just before it: next Monday, tomorrow.
        {in2026(7, 12, 8, 0, 1), 7 * 1440, 1440},
        {in2026(7, 12, 7, 59, 1), 7 * 1440 + 1, 1441},
        // Sixteen hours back, into Sunday: a week and sixteen hours, a day and sixteen hours.
        {in2026(6, 12, 16, 0, 1), 7 * 1440 + 16 * 60, 40 * 60},
        {in2026(4, 12, 9, 0, 1), 10 * 1440 - 60, 1380},
        // A week back, past the Monday before: two weeks less half an hour. Earlier in that
        // Monday its own time is due as ever.
        {in2026(30, 11, 8, 30, 1), 14 * 1440 - 30, 1410},
        {in2026(30, 11, 7, 30, 1), 30, 30},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(monday.MinutesToNextRun(row.now, ran), row.monday) << formatDate(row.now);
        EXPECT_EQ(daily.MinutesToNextRun(row.now, ran), row.daily) << formatDate(row.now);
    }
    EXPECT_EQ(monday.UpdateStatusText(in2026(1, 12, 8, 0, 1), ran).oneLine,
              "Noch 312 Stunden und 0 Minuten bis zur nächsten Sicherung");
}

// Writes the two set files as the program stores them (Windows-1252, CR LF).
void writeSetFiles(const std::filesystem::path& folder) {
    test::writeBytes(folder / kSetNameFileName,
                     "[SICHERUNG]\r\nname_2=Zwei\r\nname_1=Eins\r\nname_3=Drei\r\n\r\n"
                     "[NUMMER]\r\nwert=3\r\n");
    test::writeBytes(folder / kSetFileName,
                     "[Eins]\r\nvon_0=/a\r\nnach=/z\r\nwann=t\xE4glich\r\nzeit=18:30\r\n"
                     "aktiv=ja\r\n\r\n"
                     "[Zwei]\r\nvon_0=/b\r\nnach=/z\r\nwann=Montag\r\nzeit=07:05\r\naktiv=Ja\r\n"
                     "\r\n[Drei]\r\nvon_0=/c\r\nnach=/z\r\nwann=Freitag\r\nzeit=23:59\r\n"
                     "aktiv=nein\r\n");
}

TEST(SchedulerTest, LoadsTheTableInNameOrder) {
    test::TempDir folder;
    writeSetFiles(folder.path());
    Scheduler scheduler;
    scheduler.setTable({{"Montag", "00:00", true, "Alt"}});

    scheduler.LoadScheduleTable(BackupSetStore(folder.path()));
    const std::vector<ScheduleEntry> table = scheduler.table();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].name, "Eins");
    EXPECT_EQ(table[0].day, "täglich");
    EXPECT_EQ(table[0].time, "18:30");
    EXPECT_TRUE(table[0].active);
    EXPECT_EQ(table[1].name, "Zwei");
    EXPECT_EQ(table[1].day, "Montag");
    EXPECT_EQ(table[1].time, "07:05");
    EXPECT_FALSE(table[1].active) << "only \"ja\" is active, \"Ja\" is not";
    EXPECT_EQ(table[2].name, "Drei");
    EXPECT_FALSE(table[2].active);
}

TEST(SchedulerTest, LoadsAnEmptyTableWithoutFiles) {
    test::TempDir folder;
    Scheduler scheduler;
    scheduler.setTable({{"Montag", "00:00", true, "Alt"}});
    scheduler.LoadScheduleTable(BackupSetStore(folder.path()));
    EXPECT_TRUE(scheduler.table().empty());
}

}  // namespace
}  // namespace vaultrix
