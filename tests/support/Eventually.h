#pragma once

#include <chrono>
#include <thread>

namespace vaultrix::test {

// Generous: only a hang exceeds it.
inline constexpr std::chrono::seconds kEventuallyBound{10};

// Waits until `done` holds, polling; false when the bound passes first.
template <typename Condition>
bool eventually(Condition done) {
    const auto end = std::chrono::steady_clock::now() + kEventuallyBound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace vaultrix::test
