#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/AttributeProbe.h"
#include "engine/CopyDestination.h"
#include "engine/TimeStep.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;

TEST(TimeStep, AKeptTimeStandsForTheSourcesTimeRoundedDownOrUpToTheStep) {
    const std::int64_t even = 1'600'000'000 * kSecond;  // on every step's boundary
    const std::int64_t step = 2 * kSecond;
    // Between two steps: the step below and the step above, nothing else.
    const std::int64_t given = even + kSecond + 1;
    EXPECT_TRUE(sameTimeWithinStep(even, given, step));
    EXPECT_TRUE(sameTimeWithinStep(even + step, given, step));
    EXPECT_FALSE(sameTimeWithinStep(even + 1, given, step));
    EXPECT_FALSE(sameTimeWithinStep(even - 1, given, step));
    EXPECT_FALSE(sameTimeWithinStep(even + step + 1, given, step));
    EXPECT_FALSE(sameTimeWithinStep(even - step, given, step));
    EXPECT_FALSE(sameTimeWithinStep(given, given, step));
    // Just inside either end of the step.
    EXPECT_TRUE(sameTimeWithinStep(even, even + 1, step));
    EXPECT_TRUE(sameTimeWithinStep(even + step, even + 1, step));
    EXPECT_TRUE(sameTimeWithinStep(even, even + step - 1, step));
    EXPECT_TRUE(sameTimeWithinStep(even + step, even + step - 1, step));
    // On a step's boundary the time is kept as it is: one step off is another time.
    EXPECT_TRUE(sameTimeWithinStep(even, even, step));
    EXPECT_FALSE(sameTimeWithinStep(even + step, even, step));
    EXPECT_FALSE(sameTimeWithinStep(even - step, even, step));
    // Before 1970 the steps lie the same way.
    EXPECT_TRUE(sameTimeWithinStep(-2 * kSecond, -kSecond - 5, step));
    EXPECT_TRUE(sameTimeWithinStep(0, -kSecond - 5, step));
    EXPECT_FALSE(sameTimeWithinStep(-4 * kSecond, -kSecond - 5, step));
    EXPECT_FALSE(sameTimeWithinStep(-kSecond, -kSecond - 5, step));
    EXPECT_TRUE(sameTimeWithinStep(0, -5, step));
    // 1 ns: exactly.
    EXPECT_TRUE(sameTimeWithinStep(given, given, 1));
    EXPECT_FALSE(sameTimeWithinStep(given - 1, given, 1));
    EXPECT_FALSE(sameTimeWithinStep(given + 1, given, 1));
    // 100 ns, as NTFS and SMB keep times.
    EXPECT_TRUE(sameTimeWithinStep(even + 1'234'500, even + 1'234'567, 100));
    EXPECT_TRUE(sameTimeWithinStep(even + 1'234'600, even + 1'234'567, 100));
    EXPECT_FALSE(sameTimeWithinStep(even + 1'234'000, even + 1'234'567, 100));
}

std::int64_t down(std::int64_t ns, std::int64_t step) {
    return ns / step * step;
}

std::int64_t up(std::int64_t ns, std::int64_t step) {
    return down(ns, step) == ns ? ns : down(ns, step) + step;
}

TEST(TimeStep, TheProbeTellsEveryStepApartWhetherTheDestinationRoundsDownOrUp) {
    for (const std::int64_t step : kTimeStepsNs) {
        EXPECT_EQ(timeStepFrom({down(kProbeTimesNs[0], step), down(kProbeTimesNs[1], step)}), step);
        EXPECT_EQ(timeStepFrom({up(kProbeTimesNs[0], step), up(kProbeTimesNs[1], step)}), step);
        // A time kept to the nearest step is one of the two.
        const std::int64_t half = step / 2;
        EXPECT_EQ(timeStepFrom(
                      {down(kProbeTimesNs[0] + half, step), down(kProbeTimesNs[1] + half, step)}),
                  step == 2 * kSecond ? kSecond : step);
    }
    // Coarser than 2 s, not kept at all, or another time: compared exactly.
    EXPECT_EQ(
        timeStepFrom({down(kProbeTimesNs[0], 4 * kSecond), down(kProbeTimesNs[1], 4 * kSecond)}),
        1);
    EXPECT_EQ(timeStepFrom({0, 0}), 1);
    EXPECT_EQ(timeStepFrom({kProbeTimesNs[0], kProbeTimesNs[0]}), 1);
}

// A file changed since the last run is copied again on a coarse destination whenever its time
// in the destination's steps differs; an unchanged one never is.
TEST(TimeStep, OnFatAChangedTimeIsSeenAndAnUnchangedOneIsNot) {
    const std::int64_t step = 2 * kSecond;
    const std::int64_t source = 1'600'000'001 * kSecond + 123'456'789;
    const std::int64_t onFat = down(source, step);
    EXPECT_TRUE(sameTimeWithinStep(onFat, source, step));
    EXPECT_TRUE(sameTimeWithinStep(up(source, step), source, step));
    EXPECT_FALSE(sameTimeWithinStep(onFat, source + kSecond, step));
    EXPECT_FALSE(sameTimeWithinStep(onFat, source + step, step));
    EXPECT_FALSE(sameTimeWithinStep(onFat, source - 2 * step, step));
}

class NoFaults final : public CopyFaults {
public:
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
};

TEST(AttributeProbe, FindsTheTestFoldersFineTimesAndPermissionsAndLeavesNothingBehind) {
    test::TempDir dir;
    NoFaults none;
    const std::string destination = (dir / "Ziel").string();
    std::filesystem::create_directory(destination);
    CopyDestination target(destination);
    ASSERT_TRUE(target.prepare(none));
    // The test folder lies on ext4 or tmpfs: nanoseconds, POSIX permission bits. Windows
    // counts file times in 100 ns.
#ifdef _WIN32
    EXPECT_EQ(target.traits().timeStepNs, 100);
#else
    EXPECT_EQ(target.traits().timeStepNs, 1);
#endif
    EXPECT_TRUE(target.traits().keepsPermissions);
    EXPECT_TRUE(std::filesystem::is_empty(destination));

    DestinationTraits unchanged;
    probeAttributes((dir / "fehlt").string(), unchanged);
    EXPECT_EQ(unchanged.timeStepNs, 1);
    EXPECT_TRUE(unchanged.keepsPermissions);
    EXPECT_FALSE(std::filesystem::exists(dir / "fehlt"));
}

}  // namespace
}  // namespace vaultrix
