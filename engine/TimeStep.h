#pragma once

#include <array>
#include <cstdint>

namespace vaultrix {

// The steps in which file systems keep modification times, finest first: ext4 and most Linux
// file systems 1 ns, NTFS and SMB shares 100 ns, some shares 1 µs or 1 ms, exFAT 10 ms (through
// some drivers 1 s), sshfs 1 s, FAT 2 s. 2 s is the coarsest a destination is granted.
inline constexpr std::array<std::int64_t, 7> kTimeStepsNs = {
    1, 100, 1'000, 1'000'000, 10'000'000, 1'000'000'000, 2'000'000'000};

// The times a probe gives a file: odd in every step, an odd second after an even one and then
// the next second, so that no two steps, rounding down or up, keep both alike.
inline constexpr std::array<std::int64_t, 2> kProbeTimesNs = {
    1'577'836'801'123'456'789,  // 2020-01-01 00:00:01.123456789 UTC
    1'577'836'802'123'456'789};

// Whether `kept`, a destination's time, stands for `given`, the source's: equal to it rounded
// down or up to the step (drivers truncate; some round up), exactly equal at a step of 1 ns.
bool sameTimeWithinStep(std::int64_t kept, std::int64_t given, std::int64_t stepNs);

// The step of a destination that kept kProbeTimesNs as `kept`: the finest of kTimeStepsNs for
// which both stand for what was given; 1 ns (the exact comparison) when none fits, so a
// destination that keeps times in some other way is never taken for holding a file it lacks.
std::int64_t timeStepFrom(const std::array<std::int64_t, 2>& kept);

}  // namespace vaultrix
