#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace vaultrix {

// The time a run has left, from the bytes per second of its last seconds. A rate taken from the
// start would hold on to what is long past: a repeat run passes its unchanged files at once and
// then copies the changed ones at the speed of the disk.
class TimeLeftEstimate {
public:
    using Clock = std::chrono::steady_clock;
    // The clock is passed in, so tests can set the moments.
    using Now = std::function<Clock::time_point()>;

    // The rate is taken over about this much of the latest progress.
    static constexpr std::chrono::seconds kWindow{10};
    // No rate from less progress than this: the first reports come in bursts.
    static constexpr std::chrono::seconds kFirstRate{2};
    // No new bytes for this long is a stall, and no estimate is better than a wrong one.
    static constexpr std::chrono::seconds kStall{30};

    explicit TimeLeftEstimate(Now now = Clock::now);

    // A new run starts now, with nothing done.
    void restart();
    // The run has done this many bytes by now.
    void add(std::uint64_t bytesDone);
    // The time left to reach `bytesTotal` at the recent rate; nothing while the rate is not yet
    // known or the run stalls.
    std::optional<std::chrono::seconds> timeLeft(std::uint64_t bytesTotal) const;

private:
    struct Sample {
        Clock::time_point at;
        std::uint64_t bytes = 0;
    };

    Now now_;
    // The first is the latest sample at least kWindow before the last, if there is one.
    std::deque<Sample> samples_;
};

}  // namespace vaultrix
