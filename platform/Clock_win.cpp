#include <chrono>
#include <ctime>

#include "platform/Clock.h"

namespace vaultrix {

LocalTime SystemClock::now() const {
    using namespace std::chrono;
    // To the nearest second: half a second and more rounds up.
    const auto rounded = floor<seconds>(system_clock::now() + milliseconds(500));
    const std::time_t time = system_clock::to_time_t(rounded);
    std::tm tm{};
    localtime_s(&tm, &time);
    return localTimeFrom(tm);
}

}  // namespace vaultrix
