#include <ctime>

#include "platform/Clock.h"

namespace vaultrix {

std::tm localCalendar(std::time_t time) {
    std::tm tm{};
    localtime_r(&time, &tm);
    return tm;
}

}  // namespace vaultrix
