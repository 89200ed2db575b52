#pragma once

#include <string_view>

namespace vaultrix {

// The four digits of a time of day, hours then minutes ("0830"): hours 00 … 23, minutes
// 00 … 59. Each caller takes its own text apart: the stored "HH:MM", the editor's field.
bool isTimeOfDayDigits(std::string_view digits);

}  // namespace vaultrix
