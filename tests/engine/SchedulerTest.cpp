#include "engine/Scheduler.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using test::at;

// Weekdays, Sunday = 0.
constexpr int kSunday = 0;
constexpr int kMonday = 1;
constexpr int kWednesday = 3;
constexpr int kSaturday = 6;

// A scheduler that starts with the given table.
struct SchedulerWith : Scheduler {
    explicit SchedulerWith(std::vector<ScheduleEntry> table) { setTable(std::move(table)); }
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

TEST(SchedulerTest, DueTestsCompareExactly) {
    const LocalTime monday = at(7, 12, 2026, 8, 0, 42, kMonday);
    EXPECT_TRUE(Scheduler::IsDueToday("Montag", monday));
    EXPECT_TRUE(Scheduler::IsDueToday("täglich", monday));
    EXPECT_FALSE(Scheduler::IsDueToday("Dienstag", monday));
    EXPECT_FALSE(Scheduler::IsDueToday("montag", monday));
    EXPECT_TRUE(Scheduler::IsDueNow("08:00", monday));
    EXPECT_FALSE(Scheduler::IsDueNow("8:00", monday));
    EXPECT_FALSE(Scheduler::IsDueNow("08:01", monday));
}

TEST(SchedulerTest, EmptyTableAndOnlyInactiveSets) {
    const LocalTime now = at(7, 12, 2026, 7, 15, 0, kMonday);
    EXPECT_EQ(SchedulerWith({}).UpdateStatusText(now).oneLine,
              "Es wurde keine Sicherung angelegt !");

    // Only "ja" is active; "Ja" is not.
    const SchedulerWith inactive(
        {{"Montag", "07:15", "Ja", "Gross"}, {"täglich", "07:15", "nein", "Aus"}});
    EXPECT_TRUE(inactive.CollectDueSets(now).empty());
    EXPECT_EQ(inactive.MinutesToNextRun(now), kNoNextRun);
    EXPECT_EQ(inactive.UpdateStatusText(now).oneLine, "Es ist keine Sicherung aktiv !");
}

TEST(SchedulerTest, SameDayLaterAndEarlierThanNow) {
    const SchedulerWith scheduler({{"Montag", "08:00", "ja", "Woche"}});

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
    const SchedulerWith scheduler({{"täglich", "08:00", "ja", "Tag"}});
    const LocalTime now = at(9, 12, 2026, 9, 0, 0, kWednesday);
    EXPECT_EQ(scheduler.MinutesToNextRun(now), 1380);
    EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine,
              "Noch 23 Stunden und 0 Minuten bis zur nächsten Sicherung");
}

TEST(SchedulerTest, OtherWeekdaysAheadAndBehind) {
    const SchedulerWith sunday({{"Sonntag", "10:30", "ja", "So"}});
    const LocalTime saturdayNight = at(12, 12, 2026, 22, 0, 0, kSaturday);
    EXPECT_EQ(sunday.MinutesToNextRun(saturdayNight), 750);
    EXPECT_EQ(sunday.UpdateStatusText(saturdayNight).oneLine,
              "Noch 12 Stunden und 30 Minuten bis zur nächsten Sicherung");

    // Monday seen from Wednesday at the same time: five days ahead.
    const SchedulerWith monday({{"Montag", "08:00", "ja", "Mo"}});
    EXPECT_EQ(monday.MinutesToNextRun(at(9, 12, 2026, 8, 0, 0, kWednesday)), 5 * 1440);
    EXPECT_EQ(monday.MinutesToNextRun(at(13, 12, 2026, 8, 0, 0, kSunday)), 1440);
}

TEST(SchedulerTest, DueForTheWholeMinuteInTableOrder) {
    const SchedulerWith scheduler({{"täglich", "08:00", "ja", "Erster"},
                                   {"Dienstag", "08:00", "ja", "Falscher Tag"},
                                   {"Montag", "08:00", "nein", "Aus"},
                                   {"Montag", "08:00", "ja", "Zweiter"}});
    for (int second : {0, 30, 59}) {
        const LocalTime now = at(7, 12, 2026, 8, 0, second, kMonday);
        EXPECT_EQ(scheduler.CollectDueSets(now), (std::vector<std::string>{"Erster", "Zweiter"}));
        EXPECT_EQ(scheduler.MinutesToNextRun(now), 0);
        EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine, "Sicherung wird ausgeführt !");
    }
    EXPECT_TRUE(scheduler.CollectDueSets(at(7, 12, 2026, 8, 1, 0, kMonday)).empty());
}

TEST(SchedulerTest, NearestOfSeveralSetsWins) {
    const SchedulerWith scheduler({{"Freitag", "08:00", "ja", "Fern"},
                                   {"täglich", "12:00", "ja", "Nah"},
                                   {"Montag", "09:30", "ja", "Naechst"}});
    EXPECT_EQ(scheduler.MinutesToNextRun(at(7, 12, 2026, 9, 0, 0, kMonday)), 30);
}

TEST(SchedulerTest, UnknownDayIsNeverDueAndNotCounted) {
    const SchedulerWith scheduler({{"Samstag", "08:00", "ja", "Tippfehler"}});
    const LocalTime now = at(12, 12, 2026, 8, 0, 0, kSaturday);
    EXPECT_TRUE(scheduler.CollectDueSets(now).empty());
    EXPECT_EQ(scheduler.MinutesToNextRun(now), kNoNextRun);
    EXPECT_EQ(scheduler.UpdateStatusText(now).oneLine, "Es ist keine Sicherung aktiv !");
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
        EXPECT_TRUE(broken.CollectDueSets(midnight).empty()) << time;
        EXPECT_EQ(broken.MinutesToNextRun(midnight), kNoNextRun) << time;
        EXPECT_EQ(broken.UpdateStatusText(midnight).oneLine, "Es ist keine Sicherung aktiv !");
    }
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
