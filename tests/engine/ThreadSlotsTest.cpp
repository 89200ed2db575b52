#include "engine/ThreadSlots.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "support/Eventually.h"

namespace vaultrix {
namespace {

using namespace std::chrono_literals;
using test::eventually;

constexpr auto kBound = test::kEventuallyBound;

// A thread that does numbered work sections, 1 ms apart, until it is stopped.
ThreadSlots::ThreadFunction workLoop(std::atomic<int>& sections) {
    return [&sections](SlotControl& control) {
        while (!control.sleepUnlessStopped(1ms)) {
            WorkSection work(control);
            if (!work.entered()) return;
            ++sections;
        }
    };
}

TEST(EventTest, StaysSetUntilResetAndWakesWaiters) {
    Event event;
    EXPECT_FALSE(event.isSet());
    EXPECT_FALSE(event.waitFor(1ms));

    auto waiter = std::async(std::launch::async, [&] { return event.waitFor(kBound); });
    event.set();
    EXPECT_TRUE(waiter.get());
    EXPECT_TRUE(event.isSet());
    EXPECT_TRUE(event.waitFor(0ms));

    event.reset();
    EXPECT_FALSE(event.isSet());
}

TEST(ThreadSlotsTest, StartRunsThreadAndStopEndsIt) {
    ThreadSlots slots;
    std::atomic<int> sections{0};
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, workLoop(sections)));
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::running);
    EXPECT_TRUE(slots.IsAlive(ThreadSlots::kBackupSlot));
    EXPECT_TRUE(eventually([&] { return sections > 2; }));

    slots.StopSlot(ThreadSlots::kBackupSlot);
    EXPECT_TRUE(slots.StopRequested(ThreadSlots::kBackupSlot));
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::stopped);
    EXPECT_TRUE(eventually([&] { return !slots.anyAlive(); }));
}

TEST(ThreadSlotsTest, OneShotThreadKeepsStoppedStateAndCannotRunTwice) {
    ThreadSlots slots;
    Event release;
    std::atomic<int> runs{0};
    auto oneShot = [&](SlotControl&) {
        ++runs;
        release.waitFor(kBound);
    };
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kTreeSlot, oneShot, false));
    EXPECT_EQ(slots.state(ThreadSlots::kTreeSlot), SlotState::stopped);
    EXPECT_TRUE(slots.IsAlive(ThreadSlots::kTreeSlot));
    EXPECT_FALSE(slots.StartSlot(ThreadSlots::kTreeSlot, oneShot, false));

    release.set();
    ASSERT_TRUE(eventually([&] { return !slots.IsAlive(ThreadSlots::kTreeSlot); }));
    release.reset();
    EXPECT_TRUE(slots.StartSlot(ThreadSlots::kTreeSlot, oneShot, false));
    release.set();
    EXPECT_TRUE(eventually([&] { return !slots.IsAlive(ThreadSlots::kTreeSlot); }));
    EXPECT_EQ(runs, 2);
}

TEST(ThreadSlotsTest, PauseAndResumeChangeOnlyTheMatchingStates) {
    ThreadSlots slots;
    std::atomic<int> sections{0};
    slots.PauseSlot(ThreadSlots::kBackupSlot);  // nothing runs: no effect
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::stopped);

    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, workLoop(sections)));
    slots.ResumeSlot(ThreadSlots::kBackupSlot);
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::running);
    slots.PauseSlot(ThreadSlots::kBackupSlot);
    slots.PauseSlot(ThreadSlots::kBackupSlot);
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::paused);
    slots.ResumeSlot(ThreadSlots::kBackupSlot);
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::running);

    // Numbers outside the four slots are ignored.
    slots.PauseSlot(7);
    EXPECT_FALSE(slots.StartSlot(-1, workLoop(sections)));
    EXPECT_FALSE(slots.IsAlive(4));
}

TEST(ThreadSlotsTest, NoWorkSectionBetweenPauseAndResume) {
    ThreadSlots slots;
    std::atomic<int> arrivals{0};  // at a work section, entered or not
    std::atomic<int> sections{0};
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, [&](SlotControl& control) {
        while (!control.sleepUnlessStopped(1ms)) {
            ++arrivals;
            WorkSection work(control);
            if (!work.entered()) return;
            ++sections;
        }
    }));
    ASSERT_TRUE(eventually([&] { return sections > 0; }));

    slots.PauseSlot(ThreadSlots::kBackupSlot);
    const int atPause = sections;
    // The thread comes to its next work section while paused, and stays outside.
    ASSERT_TRUE(eventually([&] { return arrivals > atPause; }));
    EXPECT_EQ(sections, atPause);

    slots.ResumeSlot(ThreadSlots::kBackupSlot);
    EXPECT_TRUE(eventually([&] { return sections > atPause; }));
}

TEST(ThreadSlotsTest, PauseWaitsForTheWorkSectionInProgress) {
    ThreadSlots slots;
    Event inWork;
    Event leaveWork;
    std::atomic<bool> sectionEnded{false};
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, [&](SlotControl& control) {
        {
            WorkSection work(control);
            inWork.set();
            leaveWork.waitFor(kBound);
            sectionEnded = true;
        }
        control.sleepUnlessStopped(kBound);
    }));
    ASSERT_TRUE(inWork.waitFor(kBound));

    auto pause = std::async(std::launch::async, [&] {
        slots.PauseSlot(ThreadSlots::kBackupSlot);
        return sectionEnded.load();
    });
    leaveWork.set();
    EXPECT_TRUE(pause.get()) << "PauseSlot returned while the section was still running";
    slots.StopSlot(ThreadSlots::kBackupSlot);
}

TEST(ThreadSlotsTest, PauseReturnsPromptlyWhileThreadIsBusyOutsideWork) {
    ThreadSlots slots;
    Event busy;
    Event release;
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, [&](SlotControl&) {
        busy.set();
        release.waitFor(kBound);  // stands for a long copy
    }));
    ASSERT_TRUE(busy.waitFor(kBound));

    auto pause = std::async(std::launch::async, [&] { slots.PauseSlot(ThreadSlots::kBackupSlot); });
    EXPECT_EQ(pause.wait_for(kBound / 2), std::future_status::ready);
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::paused);
    release.set();
}

TEST(ThreadSlotsTest, StopResumesAPausedThreadAndEndsIt) {
    ThreadSlots slots;
    std::atomic<int> sections{0};
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kBackupSlot, workLoop(sections)));
    slots.PauseSlot(ThreadSlots::kBackupSlot);

    slots.StopSlot(ThreadSlots::kBackupSlot);
    EXPECT_EQ(slots.state(ThreadSlots::kBackupSlot), SlotState::stopped);
    EXPECT_TRUE(eventually([&] { return !slots.IsAlive(ThreadSlots::kBackupSlot); }));
}

TEST(ThreadSlotsTest, StopLeavesAThreadThatIgnoresItRunning) {
    ThreadSlots slots;
    Event release;
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kTimeSlot, [&](SlotControl&) {
        release.waitFor(kBound);  // does not look at its stop request
    }));

    slots.StopSlot(ThreadSlots::kTimeSlot);  // the bounded wait passes
    EXPECT_EQ(slots.state(ThreadSlots::kTimeSlot), SlotState::stopped);
    EXPECT_TRUE(slots.IsAlive(ThreadSlots::kTimeSlot));
    EXPECT_TRUE(slots.anyAlive());
    release.set();
    EXPECT_TRUE(eventually([&] { return !slots.anyAlive(); }));
}

TEST(ThreadSlotsTest, DestructionStopsAndJoinsEveryThread) {
    std::atomic<int> sections{0};
    std::atomic<int> ended{0};
    {
        ThreadSlots slots;
        for (int slot : {ThreadSlots::kTimeSlot, ThreadSlots::kBackupSlot}) {
            ASSERT_TRUE(slots.StartSlot(slot, [&](SlotControl& control) {
                workLoop(sections)(control);
                ++ended;
            }));
        }
        slots.PauseSlot(ThreadSlots::kBackupSlot);
    }
    EXPECT_EQ(ended, 2);
}

}  // namespace
}  // namespace vaultrix
