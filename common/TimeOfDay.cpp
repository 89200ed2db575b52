#include "common/TimeOfDay.h"

#include <algorithm>

namespace vaultrix {

bool isTimeOfDayDigits(std::string_view digits) {
    if (digits.size() != 4 ||
        !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    return digits.substr(0, 2) <= "23" && digits[2] <= '5';
}

}  // namespace vaultrix
