#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vaultrix {

// The day texts a set stores, by number: Sunday = 0 … Saturday = 6, and 7 for every day.
inline constexpr std::array<const char*, 8> kDayNames = {
    "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Sonnabend", "täglich"};
inline constexpr int kEveryDayNumber = 7;

// The order in which the day box offers them: "täglich", "Montag" … "Sonnabend", "Sonntag".
inline constexpr std::array<int, 8> kDayBoxOrder = {7, 1, 2, 3, 4, 5, 6, 0};

// "Sonntag" (0) … "Sonnabend" (6), "täglich" (7); empty for any other number.
std::string weekdayName(int number);
// The number of a day text, Sunday = 0, "täglich" = 7; -1 for any other text.
int dayNumber(std::string_view day);

}  // namespace vaultrix
