#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "support/FakeClock.h"

namespace vaultrix {
namespace {

using test::in2026;

TEST(ClockFormat, TwoDigitFieldsAndAFourDigitYear) {
    const auto t = test::at(6, 12, 2026, 19, 30, 5, 0);
    EXPECT_EQ(formatDate(t), "06.12.2026");
    EXPECT_EQ(formatTime(t), "19:30:05");
    EXPECT_EQ(formatHourMinute(t), "19:30");
    const auto early = test::at(1, 2, 999, 0, 0, 0, 1);
    EXPECT_EQ(formatDate(early), "01.02.0999");
    EXPECT_EQ(formatTime(early), "00:00:00");
}

TEST(ClockFormat, ConvertsTheCLibraryFields) {
    std::tm tm{};
    tm.tm_year = 126;
    tm.tm_mon = 11;
    tm.tm_mday = 6;
    tm.tm_hour = 19;
    tm.tm_min = 30;
    tm.tm_sec = 60;
    tm.tm_wday = 0;
    EXPECT_EQ(localTimeFrom(tm), test::at(6, 12, 2026, 19, 30, 59, 0));
}

TEST(ClockCalendar, LocalTimesAndRealMomentsConvertBothWays) {
    const LocalTime spring = in2026(29, 3, 3, 0, 2);
    EXPECT_EQ(spring, (LocalTime{2026, 3, 29, 3, 0, 0, 0, 7200}));
    EXPECT_EQ(realSeconds(spring), localSeconds(2026, 3, 29, 1, 0, 0));
    EXPECT_EQ(localSeconds(1970, 1, 1, 0, 0, 1), 1);
    // Across a year end and a leap day, backwards from the offset.
    EXPECT_EQ(localTimeAt(localSeconds(2028, 3, 1, 0, 30, 0), -3600),
              (LocalTime{2028, 2, 29, 23, 30, 0, 2, -3600}));
    EXPECT_EQ(localTimeAt(localSeconds(2027, 1, 1, 0, 0, 0) - 1, 0),
              (LocalTime{2026, 12, 31, 23, 59, 59, 4, 0}));
}

// When the local clock of a Central European zone shows each time of the two nights of 2026:
// the real moments as UTC "hh:mm", or the end of the gap for a skipped time.
void expectBerlinNights2026(const Clock& clock) {
    struct Row {
        int day;
        int month;
        int hour;
        int minute;
        std::vector<std::string> shown;
        std::string skipEnd;
    };
    const std::vector<Row> rows = {
        {29, 3, 1, 59, {"00:59"}, ""},
        {29, 3, 2, 0, {}, "01:00"},
        {29, 3, 2, 30, {}, "01:00"},
        {29, 3, 2, 59, {}, "01:00"},
        {29, 3, 3, 0, {"01:00"}, ""},
        {25, 10, 1, 59, {"23:59"}, ""},
        {25, 10, 2, 0, {"00:00", "01:00"}, ""},
        {25, 10, 2, 30, {"00:30", "01:30"}, ""},
        {25, 10, 2, 59, {"00:59", "01:59"}, ""},
        {25, 10, 3, 0, {"02:00"}, ""},
    };
    const auto utc = [](std::int64_t real) { return formatHourMinute(localTimeAt(real, 0)); };
    for (const Row& row : rows) {
        const RealMoments moments =
            realMomentsOf(clock, localSeconds(2026, row.month, row.day, row.hour, row.minute, 0));
        std::vector<std::string> shown;
        for (const std::int64_t real : moments.shown) shown.push_back(utc(real));
        const std::string what = std::to_string(row.day) + "." + std::to_string(row.month) + " " +
                                 std::to_string(row.hour) + ":" + std::to_string(row.minute);
        EXPECT_EQ(shown, row.shown) << what;
        EXPECT_EQ(moments.shown.empty() ? utc(moments.skipEnd) : "", row.skipEnd) << what;
    }
}

TEST(ClockZone, GapAndRepeatedHourUnderTheTestRule) {
    expectBerlinNights2026(test::FakeClock(test::centralEuropean));
}

TEST(ClockZone, WithoutARuleTheOffsetSetHoldsAllYear) {
    test::FakeClock clock(in2026(29, 3, 2, 30, 1));
    EXPECT_EQ(clock.utcOffsetAt(localSeconds(2026, 7, 1, 0, 0, 0)), 3600);
    const RealMoments moments = realMomentsOf(clock, localSeconds(2026, 3, 29, 2, 30, 0));
    EXPECT_EQ(moments.shown, (std::vector<std::int64_t>{localSeconds(2026, 3, 29, 1, 30, 0)}));
}

#ifndef _WIN32
// The machine's own zone rules, with TZ set for one test and put back afterwards.
class BerlinSystemClock : public ::testing::Test {
protected:
    BerlinSystemClock() {
        if (const char* zone = std::getenv("TZ")) saved_ = zone;
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    ~BerlinSystemClock() override {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    std::optional<std::string> saved_;
};

TEST_F(BerlinSystemClock, FollowsTheZoneDataThrough2026) {
    const SystemClock clock;
    expectBerlinNights2026(clock);
    for (std::int64_t real = localSeconds(2026, 1, 1, 0, 0, 0);
         real < localSeconds(2027, 1, 1, 0, 0, 0); real += 1800) {
        ASSERT_EQ(clock.utcOffsetAt(real), test::centralEuropean(real))
            << formatDate(localTimeAt(real, 0)) << " " << formatTime(localTimeAt(real, 0));
    }
    const LocalTime now = clock.now();
    EXPECT_EQ(now.utcOffset, test::centralEuropean(realSeconds(now)));
}
#endif

TEST(SystemClock, GivesAPlausibleLocalTime) {
    const auto t = SystemClock().now();
    EXPECT_GE(t.year, 2020);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12);
    EXPECT_TRUE(t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(t.hour >= 0 && t.hour <= 23);
    EXPECT_TRUE(t.minute >= 0 && t.minute <= 59);
    EXPECT_TRUE(t.second >= 0 && t.second <= 59);
    EXPECT_TRUE(t.weekday >= 0 && t.weekday <= 6);
}

}  // namespace
}  // namespace vaultrix
