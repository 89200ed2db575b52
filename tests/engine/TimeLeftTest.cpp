#include "engine/TimeLeft.h"

#include <gtest/gtest.h>

namespace vaultrix {
namespace {

using namespace std::chrono_literals;
using std::chrono::seconds;

constexpr std::uint64_t kMB = 1'000'000;

// An estimate on a clock that moves only when the test says.
class TimeLeftTest : public testing::Test {
protected:
    // `count` reports, one a second, each `perSecond` bytes further.
    void progress(int count, std::uint64_t perSecond) {
        for (int i = 0; i < count; ++i) {
            now_ += 1s;
            done_ += perSecond;
            estimate_.add(done_);
        }
    }

    TimeLeftEstimate::Clock::time_point now_{};
    std::uint64_t done_ = 0;
    TimeLeftEstimate estimate_{[this] { return now_; }};
};

TEST_F(TimeLeftTest, ASteadyRateCountsDownFromTheLastReport) {
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), std::nullopt);
    progress(1, 10 * kMB);
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), std::nullopt) << "too little progress for a rate";
    progress(2, 10 * kMB);
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), seconds(97));
    now_ += 5s;
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), seconds(92));
    // Sources that grew since they were counted take the run past its total: nothing is left.
    EXPECT_EQ(estimate_.timeLeft(20 * kMB), seconds(0));
}

TEST_F(TimeLeftTest, ARateThatChangesCountsOnlyTheLastSeconds) {
    // Unchanged files passed at once, then the changed ones at the speed of the disk.
    progress(20, 100 * kMB);
    EXPECT_EQ(estimate_.timeLeft(3100 * kMB), seconds(11));
    progress(12, 10 * kMB);
    EXPECT_EQ(estimate_.timeLeft(3100 * kMB), seconds(98));
    // And faster again: 480 MB at 50 MB a second.
    progress(10, 50 * kMB);
    EXPECT_EQ(estimate_.timeLeft(3100 * kMB), seconds(10));
}

TEST_F(TimeLeftTest, AStallShowsNoEstimateUntilBytesMoveAgain) {
    progress(10, 10 * kMB);
    now_ += 29s;
    // Reports of files without bytes are no movement.
    estimate_.add(done_);
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), seconds(90 - 29));
    now_ += 1s;
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), std::nullopt);

    // The rate is taken from fresh progress only.
    progress(1, 10 * kMB);
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), std::nullopt);
    progress(10, 10 * kMB);
    EXPECT_EQ(estimate_.timeLeft(1000 * kMB), seconds(79));
}

}  // namespace
}  // namespace vaultrix
