#include "engine/Scheduler.h"

#include <gtest/gtest.h>

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

// A scheduler that starts with the given table, asked under a zone rule: by default one
// offset all year, so local minutes are real minutes.
struct SchedulerWith : Scheduler {
    explicit SchedulerWith(
        std::vector<ScheduleEntry> table,
        test::FakeClock::Rule rule = [](std::int64_t) { return 0; })
        : zone(rule) {
        setTable(std::move(table));
    }
    std::vector<std::string> due(const LocalTime& now, const LastRuns& ran = {}) const {
        std::vector<std::string> names;
        for (const DueSet& set : CollectDueSets(zone, now, ran)) names.push_back(set.name);
        return names;
    }
    int minutes(const LocalTime& now, const LastRuns& ran = {}) const {
        return MinutesToNextRun(zone, now, ran);
    }
    StatusText status(const LocalTime& now) const { return UpdateStatusText(zone, now); }

    test::FakeClock zone;
};

TEST(SchedulerTest, DayNamesAndNumbers) {
    EXPECT_EQ(weekdayName(0), "Sonntag");
    EXPECT_EQ(weekdayName(6), "Sonnabend");
    EXPECT_EQ(weekdayName(7), "täglich");
    EXPECT_EQ(weekdayName(8), "");
    for (int n = 0; n <= 7; ++n) EXPECT_EQ(dayNumber(weekdayName(n)), n);
    EXPECT_EQ(dayNumber("Samstag"), -1);
    EXPECT_EQ(dayNumber("montag"), -1);
    EXPECT_EQ(dayNumber(""), -1);
}

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
    EXPECT_EQ(SchedulerWith({}).status(now).oneLine, "Es wurde keine Sicherung angelegt !");

    // Only "ja" is active; "Ja" is not.
    const SchedulerWith inactive(
        {{"Montag", "07:15", "Ja", "Gross"}, {"täglich", "07:15", "nein", "Aus"}});
    EXPECT_TRUE(inactive.due(now).empty());
    EXPECT_EQ(inactive.minutes(now), kNoNextRun);
    EXPECT_EQ(inactive.status(now).oneLine, "Es ist keine Sicherung aktiv !");
}

TEST(SchedulerTest, SameDayLaterAndEarlierThanNow) {
    const SchedulerWith scheduler({{"Montag", "08:00", "ja", "Woche"}});

    const LocalTime before = at(7, 12, 2026, 7, 15, 0, kMonday);
    EXPECT_EQ(scheduler.minutes(before), 45);
    EXPECT_EQ(scheduler.status(before),
              (StatusText{"Noch 45 Minuten bis zur nächsten Sicherung",
                          "Noch 45 Minuten bis zur\n nächsten Sicherung"}));

    // Just past: the same weekday next week.
    const LocalTime after = at(7, 12, 2026, 8, 1, 0, kMonday);
    EXPECT_EQ(scheduler.minutes(after), 10079);
    EXPECT_EQ(scheduler.status(after),
              (StatusText{"Noch 167 Stunden und 59 Minuten bis zur nächsten Sicherung",
                          "Noch 167 Stunden\nund 59 Minuten bis zur\nnächsten Sicherung"}));
}

TEST(SchedulerTest, EveryDaySetPastItsTimeIsDueTomorrow) {
    const SchedulerWith scheduler({{"täglich", "08:00", "ja", "Tag"}});
    const LocalTime now = at(9, 12, 2026, 9, 0, 0, kWednesday);
    EXPECT_EQ(scheduler.minutes(now), 1380);
    EXPECT_EQ(scheduler.status(now).oneLine,
              "Noch 23 Stunden und 0 Minuten bis zur nächsten Sicherung");
}

TEST(SchedulerTest, OtherWeekdaysAheadAndBehind) {
    const SchedulerWith sunday({{"Sonntag", "10:30", "ja", "So"}});
    const LocalTime saturdayNight = at(12, 12, 2026, 22, 0, 0, kSaturday);
    EXPECT_EQ(sunday.minutes(saturdayNight), 750);
    EXPECT_EQ(sunday.status(saturdayNight).oneLine,
              "Noch 12 Stunden und 30 Minuten bis zur nächsten Sicherung");

    // Monday seen from Wednesday at the same time: five days ahead.
    const SchedulerWith monday({{"Montag", "08:00", "ja", "Mo"}});
    EXPECT_EQ(monday.minutes(at(9, 12, 2026, 8, 0, 0, kWednesday)), 5 * 1440);
    EXPECT_EQ(monday.minutes(at(13, 12, 2026, 8, 0, 0, kSunday)), 1440);
}

TEST(SchedulerTest, DueForTheWholeMinuteInTableOrder) {
    const SchedulerWith scheduler({{"täglich", "08:00", "ja", "Erster"},
                                   {"Dienstag", "08:00", "ja", "Falscher Tag"},
                                   {"Montag", "08:00", "nein", "Aus"},
                                   {"Montag", "08:00", "ja", "Zweiter"}});
    for (int second : {0, 30, 59}) {
        const LocalTime now = at(7, 12, 2026, 8, 0, second, kMonday);
        EXPECT_EQ(scheduler.due(now), (std::vector<std::string>{"Erster", "Zweiter"}));
        EXPECT_EQ(scheduler.minutes(now), 0);
        EXPECT_EQ(scheduler.status(now).oneLine, "Sicherung wird ausgeführt !");
    }
    EXPECT_TRUE(scheduler.due(at(7, 12, 2026, 8, 1, 0, kMonday)).empty());
}

TEST(SchedulerTest, NearestOfSeveralSetsWins) {
    const SchedulerWith scheduler({{"Freitag", "08:00", "ja", "Fern"},
                                   {"täglich", "12:00", "ja", "Nah"},
                                   {"Montag", "09:30", "ja", "Naechst"}});
    EXPECT_EQ(scheduler.minutes(at(7, 12, 2026, 9, 0, 0, kMonday)), 30);
}

TEST(SchedulerTest, UnknownDayIsNeverDueAndNotCounted) {
    const SchedulerWith scheduler({{"Samstag", "08:00", "ja", "Tippfehler"}});
    const LocalTime now = at(12, 12, 2026, 8, 0, 0, kSaturday);
    EXPECT_TRUE(scheduler.due(now).empty());
    EXPECT_EQ(scheduler.minutes(now), kNoNextRun);
    EXPECT_EQ(scheduler.status(now).oneLine, "Es ist keine Sicherung aktiv !");
}

TEST(SchedulerTest, OnlyValidTimesOfDayAreDueOrCounted) {
    for (const char* time : {"00:00", "23:59", "09:05"})
        EXPECT_TRUE(isValidTimeOfDay(time)) << time;
    for (const char* time :
         {"69", "", "24:00", "12:60", "8:30", "08:3", "08-30", "08:30 ", "0x:30"}) {
        EXPECT_FALSE(isValidTimeOfDay(time)) << time;
        // Monday 00:00 is where the digits of a broken time used to point the countdown.
        const SchedulerWith broken({{"täglich", time, "ja", "Kaputt"}});
        const LocalTime midnight = at(7, 12, 2026, 0, 0, 0, kMonday);
        EXPECT_TRUE(broken.due(midnight).empty()) << time;
        EXPECT_EQ(broken.minutes(midnight), kNoNextRun) << time;
        EXPECT_EQ(broken.status(midnight).oneLine, "Es ist keine Sicherung aktiv !");
    }
}

// "hh:mm+1": a local time and its UTC offset in hours.
std::string shown(const LocalTime& t) {
    return formatHourMinute(t) + "+" + std::to_string(t.utcOffset / 3600);
}

// Plays the backup thread across a night under the scheduler's zone rule, one reading every 30 real
// seconds: the due sets run and are remembered. Gives "name hh:mm+offset" for every run and
// checks on the way that the countdown goes down one a minute until a run.
std::vector<std::string> runsAcross(const SchedulerWith& scheduler, const LocalTime& from,
                                    const LocalTime& to) {
    std::vector<std::string> runs;
    LastRuns ran;
    int previous = 0;
    for (std::int64_t real = realSeconds(from); real <= realSeconds(to); real += 30) {
        const LocalTime now = localTimeAt(real, scheduler.zone.utcOffsetAt(real));
        const int minutes = scheduler.minutes(now, ran);
        if (previous > 0) {
            EXPECT_EQ(minutes, previous - (now.second == 0 ? 1 : 0))
                << formatDate(now) << " " << formatTime(now) << shown(now);
        }
        previous = minutes;
        for (const DueSet& set : scheduler.CollectDueSets(scheduler.zone, now, ran)) {
            ran[set.name] = set.minute;
            runs.push_back(set.name + " " + shown(now));
        }
    }
    return runs;
}

TEST(SchedulerClockChange, SpringGapRunsEverySkippedTimeOnceAtThree) {
    const SchedulerWith scheduler({{"täglich", "01:59", "ja", "Davor"},
                                   {"täglich", "02:00", "ja", "Zwei"},
                                   {"Sonntag", "02:30", "ja", "Halb"},
                                   {"täglich", "02:59", "ja", "Spaet"},
                                   {"Montag", "02:30", "ja", "Montags"},
                                   {"täglich", "03:00", "ja", "Drei"}},
                                  test::centralEuropean);
    EXPECT_EQ(runsAcross(scheduler, in2026(28, 3, 23, 0, 1), in2026(29, 3, 5, 0, 2)),
              (std::vector<std::string>{"Davor 01:59+1", "Zwei 03:00+2", "Halb 03:00+2",
                                        "Spaet 03:00+2", "Drei 03:00+2"}));
}

TEST(SchedulerClockChange, AGapAcrossMidnightRunsTheLateTimeNextDay) {
    // Clocks go from 23:00 straight to 00:00 on the night into Sunday 29 March.
    const auto rule = [](std::int64_t real) {
        return real < localSeconds(2026, 3, 28, 22, 0, 0) ? 3600 : 7200;
    };
    const SchedulerWith scheduler({{"Sonnabend", "23:30", "ja", "Spaet"}}, rule);
    EXPECT_EQ(runsAcross(scheduler, in2026(28, 3, 22, 0, 1), in2026(29, 3, 1, 0, 2)),
              (std::vector<std::string>{"Spaet 00:00+2"}));
}

TEST(SchedulerClockChange, AutumnRepeatRunsEachTimeOnceAtItsFirstShowing) {
    const SchedulerWith scheduler({{"täglich", "01:59", "ja", "Davor"},
                                   {"täglich", "02:00", "ja", "Zwei"},
                                   {"Sonntag", "02:30", "ja", "Halb"},
                                   {"täglich", "02:59", "ja", "Spaet"},
                                   {"täglich", "03:00", "ja", "Drei"}},
                                  test::centralEuropean);
    EXPECT_EQ(runsAcross(scheduler, in2026(24, 10, 23, 0, 2), in2026(25, 10, 5, 0, 1)),
              (std::vector<std::string>{"Davor 01:59+2", "Zwei 02:00+2", "Halb 02:30+2",
                                        "Spaet 02:59+2", "Drei 03:00+1"}));
}

TEST(SchedulerClockChange, CountdownInRealMinutesAroundBothChanges) {
    struct Row {
        LocalTime now;
        const char* day;
        const char* time;
        int minutes;
    };
    const std::vector<Row> rows = {
        // Spring: the Saturday before, the night, the days after.
        {in2026(28, 3, 5, 0, 1), "täglich", "04:00", 22 * 60},
        {in2026(28, 3, 23, 0, 1), "täglich", "02:30", 180},
        {in2026(29, 3, 1, 59, 1), "täglich", "02:30", 1},
        {in2026(29, 3, 1, 59, 1), "täglich", "04:00", 61},
        {in2026(29, 3, 3, 0, 2), "täglich", "04:00", 60},
        {in2026(29, 3, 3, 1, 2), "täglich", "02:30", 23 * 60 + 29},
        {in2026(30, 3, 5, 0, 2), "täglich", "04:00", 23 * 60},
        {in2026(22, 3, 8, 1, 1), "Sonntag", "08:00", 7 * 1440 - 61},
        // Autumn: the Saturday before, both passes of the repeated hour, the days after.
        {in2026(24, 10, 5, 0, 2), "täglich", "04:00", 24 * 60},
        {in2026(25, 10, 2, 10, 2), "täglich", "04:00", 170},
        {in2026(25, 10, 2, 10, 1), "täglich", "04:00", 110},
        {in2026(25, 10, 2, 10, 1), "täglich", "02:30", 20},
        {in2026(25, 10, 5, 0, 1), "täglich", "04:00", 23 * 60},
        {in2026(26, 10, 5, 0, 1), "täglich", "04:00", 23 * 60},
        {in2026(18, 10, 8, 1, 2), "Sonntag", "08:00", 7 * 1440 + 59},
    };
    for (const Row& row : rows) {
        const SchedulerWith scheduler({{row.day, row.time, "ja", "Satz"}}, test::centralEuropean);
        EXPECT_EQ(scheduler.minutes(row.now), row.minutes)
            << formatDate(row.now) << " " << shown(row.now) << " " << row.time;
    }
}

// Readings of a January clock (no change of offset), each "hh:mm:ss", in the order a person or
// a time server set them.
std::vector<std::string> runsOverJanuaryReadings(const SchedulerWith& scheduler,
                                                 const std::vector<std::string>& readings,
                                                 LastRuns& ran) {
    std::vector<std::string> runs;
    for (const std::string& reading : readings) {
        LocalTime now =
            in2026(14, 1, std::stoi(reading.substr(0, 2)), std::stoi(reading.substr(3, 2)), 1);
        now.second = std::stoi(reading.substr(6, 2));
        for (const DueSet& set : scheduler.CollectDueSets(scheduler.zone, now, ran)) {
            ran[set.name] = set.minute;
            runs.push_back(set.name + " " + reading);
        }
    }
    return runs;
}

TEST(SchedulerClockChange, ClockSetByHandRunsNothingTwiceAndCatchesNothingUp) {
    struct Row {
        const char* what;
        std::vector<std::string> readings;
        std::vector<std::string> runs;
        int minutesAtEnd;
    };
    const std::vector<Row> rows = {
        {"set back a minute after the run",
         {"08:00:10", "08:01:10", "08:00:10", "08:00:59"},
         {"Tag 08:00:10"},
         24 * 60},
        {"set back an hour after the run",
         {"08:00:10", "08:01:10", "07:01:10", "07:59:59", "08:00:00", "08:00:30"},
         {"Tag 08:00:10"},
         24 * 60},
        {"set ahead over the time", {"07:59:00", "09:30:00"}, {}, 22 * 60 + 30},
    };
    for (const Row& row : rows) {
        const SchedulerWith scheduler({{"täglich", "08:00", "ja", "Tag"}}, test::centralEuropean);
        LastRuns ran;
        EXPECT_EQ(runsOverJanuaryReadings(scheduler, row.readings, ran), row.runs) << row.what;
        LocalTime last = in2026(14, 1, std::stoi(row.readings.back().substr(0, 2)),
                                std::stoi(row.readings.back().substr(3, 2)), 1);
        EXPECT_EQ(scheduler.minutes(last, ran), row.minutesAtEnd) << row.what;
    }
}

TEST(SchedulerClockChange, ASetEditedToALaterTimeRunsAgainThatDay) {
    SchedulerWith scheduler({{"täglich", "08:00", "ja", "Tag"}}, test::centralEuropean);
    LastRuns ran;
    EXPECT_EQ(runsOverJanuaryReadings(scheduler, {"08:00:00", "08:01:00"}, ran),
              (std::vector<std::string>{"Tag 08:00:00"}));
    scheduler.setTable({{"täglich", "09:00", "ja", "Tag"}});
    EXPECT_EQ(scheduler.minutes(in2026(14, 1, 8, 1, 1), ran), 59);
    EXPECT_EQ(runsOverJanuaryReadings(scheduler, {"09:00:00", "09:00:30"}, ran),
              (std::vector<std::string>{"Tag 09:00:00"}));
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
    scheduler.setTable({{"Montag", "00:00", "ja", "Alt"}});

    scheduler.LoadScheduleTable(BackupSetStore(folder.path()));
    const std::vector<ScheduleEntry> table = scheduler.table();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].name, "Eins");
    EXPECT_EQ(table[0].day, "täglich");
    EXPECT_EQ(table[0].time, "18:30");
    EXPECT_EQ(table[0].active, "ja");
    EXPECT_EQ(table[1].name, "Zwei");
    EXPECT_EQ(table[1].day, "Montag");
    EXPECT_EQ(table[1].time, "07:05");
    EXPECT_EQ(table[1].active, "nein");
    EXPECT_EQ(table[2].name, "Drei");
    EXPECT_EQ(table[2].active, "nein");
}

TEST(SchedulerTest, LoadsAnEmptyTableWithoutFiles) {
    test::TempDir folder;
    Scheduler scheduler;
    scheduler.setTable({{"Montag", "00:00", "ja", "Alt"}});
    scheduler.LoadScheduleTable(BackupSetStore(folder.path()));
    EXPECT_TRUE(scheduler.table().empty());
}

}  // namespace
}  // namespace vaultrix
