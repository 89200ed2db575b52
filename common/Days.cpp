#include "common/Days.h"

#include <cstddef>

namespace vaultrix {

std::string weekdayName(int number) {
    if (number < 0 || number >= static_cast<int>(kDayNames.size())) return {};
    return kDayNames[static_cast<std::size_t>(number)];
}

int dayNumber(std::string_view day) {
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (day == kDayNames[i]) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace vaultrix
