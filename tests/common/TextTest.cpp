#include <gtest/gtest.h>

#include <climits>

#include "common/Days.h"
#include "common/Text.h"
#include "common/TimeOfDay.h"

namespace vaultrix {
namespace {

TEST(LeadingNumber, ReadsLikeTheCRuntime) {
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber("  +12ab"), 12);
    EXPECT_EQ(leadingNumber("\t-7"), -7);
    EXPECT_EQ(leadingNumber("01"), 1);
    EXPECT_EQ(leadingNumber("- 1"), 0);
    EXPECT_EQ(leadingNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(leadingNumber("-99999999999999999999"), INT_MIN);
}

TEST(ShortenUtf8, CutsBeforeACharacterItWouldSplit) {
    EXPECT_EQ(shortenUtf8("abc", 3), "abc");
    EXPECT_EQ(shortenUtf8("abcd", 3), "abc");
    // "ä" is two bytes, "€" three: a cut inside either drops the whole character.
    EXPECT_EQ(shortenUtf8("aä", 2), "a");
    EXPECT_EQ(shortenUtf8("aä", 3), "aä");
    EXPECT_EQ(shortenUtf8("a€b", 3), "a");
    EXPECT_EQ(shortenUtf8("a€b", 4), "a€");
    EXPECT_EQ(shortenUtf8("€", 0), "");
}

TEST(HoldsControlCharacter, FindsC0DelAndC1ButNotTheRestOfLatin1) {
    for (const char* text : {"a\nb", "\t", "\x1F", "x\x7F", "\xC2\x80", "a\xC2\x9F"}) {
        EXPECT_TRUE(holdsControlCharacter(text)) << text;
    }
    EXPECT_TRUE(holdsControlCharacter(std::string_view("a\0b", 3)));
    // U+00A0 (no-break space) and U+00FF follow the C1 range and are ordinary characters.
    for (const char* text : {"Fuß–Ball", " ~", "\xC2\xA0", "\xC3\xBF", "€„“"}) {
        EXPECT_FALSE(holdsControlCharacter(text)) << text;
    }
}

TEST(DayTexts, NamesAndNumbersMatchExactly) {
    EXPECT_EQ(weekdayName(0), "Sonntag");
    EXPECT_EQ(weekdayName(6), "Sonnabend");
    EXPECT_EQ(weekdayName(7), "täglich");
    EXPECT_EQ(weekdayName(8), "");
    EXPECT_EQ(weekdayName(-1), "");
    for (int n = 0; n <= 7; ++n) EXPECT_EQ(dayNumber(weekdayName(n)), n);
    EXPECT_EQ(dayNumber("Samstag"), -1);
    EXPECT_EQ(dayNumber("montag"), -1);
    EXPECT_EQ(dayNumber("Täglich"), -1);
    EXPECT_EQ(dayNumber(""), -1);
}

TEST(TimeOfDayDigits, HoursToTwentyThreeAndMinutesToFiftyNine) {
    for (const char* digits : {"0000", "2359", "0959", "1000", "2300"}) {
        EXPECT_TRUE(isTimeOfDayDigits(digits)) << digits;
    }
    for (const char* digits :
         {"2400", "0060", "3000", "1960 ", "123", "12345", "ab00", "12:3", ""}) {
        EXPECT_FALSE(isTimeOfDayDigits(digits)) << digits;
    }
}

}  // namespace
}  // namespace vaultrix
