#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

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

// The machine's own zone rules for Central Europe. POSIX: TZ is set for one test and put back
// afterwards. Windows reads the zone of the system, which Wine takes from TZ when it starts.
class BerlinSystemClock : public ::testing::Test {
protected:
#ifdef _WIN32
    void SetUp() override {
        TIME_ZONE_INFORMATION zone{};
        GetTimeZoneInformation(&zone);
        if (zone.Bias != -60 || zone.DaylightBias != -60 || zone.DaylightDate.wMonth != 3 ||
            zone.StandardDate.wMonth != 10) {
            GTEST_SKIP() << "the system's time zone is not Central European time "
                            "(scripts/test-windows.sh starts Wine with TZ=Europe/Berlin)";
        }
    }
#else
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
#endif
};

// The rule the scheduler's tests use is the real one, and the system clock reads it.
TEST_F(BerlinSystemClock, FollowsTheZoneDataThrough2026) {
    const SystemClock clock;
    for (std::int64_t real = localSeconds(2026, 1, 1, 0, 0, 0);
         real < localSeconds(2027, 1, 1, 0, 0, 0); real += 1800) {
        ASSERT_EQ(clock.utcOffsetAt(real), test::centralEuropean(real))
            << formatDate(localTimeAt(real, 0)) << " " << formatTime(localTimeAt(real, 0));
    }
    const LocalTime now = clock.now();
    EXPECT_EQ(now.utcOffset, test::centralEuropean(realSeconds(now)));
    const RealMoments gap = realMomentsOf(clock, localSeconds(2026, 3, 29, 2, 30, 0));
    EXPECT_TRUE(gap.shown.empty());
    EXPECT_EQ(gap.skipEnd, localSeconds(2026, 3, 29, 1, 0, 0));
    EXPECT_EQ(realMomentsOf(clock, localSeconds(2026, 10, 25, 2, 30, 0)).shown,
              (std::vector<std::int64_t>{localSeconds(2026, 10, 25, 0, 30, 0),
                                         localSeconds(2026, 10, 25, 1, 30, 0)}));
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

TEST(SystemClock, TheRealMomentIsWithinHalfASecondOfTheRoundedReading) {
    const SystemClock clock;
    const std::int64_t before = clock.realMilliseconds();
    const std::int64_t shown = realSeconds(clock.now()) * 1000;
    const std::int64_t after = clock.realMilliseconds();
    EXPECT_GE(shown, before - 500);
    EXPECT_LE(shown, after + 500);
}

}  // namespace
}  // namespace vaultrix
