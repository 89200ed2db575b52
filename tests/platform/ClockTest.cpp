#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "support/FakeClock.h"

namespace vaultrix {
namespace {

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
