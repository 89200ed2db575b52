#include "engine/BackgroundThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/FakeCopy.h"
#include "support/RecordingRunObserver.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using namespace std::chrono_literals;
using test::at;
using test::eventually;

constexpr auto kBound = test::kEventuallyBound;
constexpr int kMonday = 1;
constexpr int kBackup = ThreadSlots::kBackupSlot;

TEST(ClockTextTest, DateWeekdayAndTimeOnThreeLines) {
    EXPECT_EQ(clockText(at(6, 12, 2026, 19, 30, 5, 0)), "06.12.2026\nSonntag\n19:30:05");
    EXPECT_EQ(clockText(at(1, 2, 2027, 0, 0, 0, 1)), "01.02.2027\nMontag\n00:00:00");
}

// The slot's control as the thread sees it, counting the thread's arrivals at a work section.
class CountingControl final : public SlotControl {
public:
    CountingControl(SlotControl& inner, std::atomic<int>& arrivals)
        : inner_(inner), arrivals_(arrivals) {}
    bool StopRequested() const override { return inner_.StopRequested(); }
    bool sleepUnlessStopped(std::chrono::milliseconds duration) override {
        return inner_.sleepUnlessStopped(duration);
    }
    void signalStop() override { inner_.signalStop(); }
    void waitStopped(std::chrono::milliseconds timeout) override { inner_.waitStopped(timeout); }
    bool enterWork() override {
        ++arrivals_;
        return inner_.enterWork();
    }
    void leaveWork() override { inner_.leaveWork(); }

private:
    SlotControl& inner_;
    std::atomic<int>& arrivals_;
};

// The backup thread over real set files and a real log, with the copy faked and short ticks.
class BackupThreadTest : public ::testing::Test {
protected:
    BackupThreadTest() {
        // Two sets of one source each: "Erster" and "Zweiter".
        test::writeBytes(data_ / kSetFileName,
                         "[Erster]\r\nvon_0=/quelle/eins\r\nnach=/ziel\r\n\r\n"
                         "[Zweiter]\r\nvon_0=/quelle/zwei\r\nnach=/ziel\r\n");
    }
    ~BackupThreadTest() override { slots_.StopSlot(kBackup); }

    void start(BackupThreadTiming timing) {
        ASSERT_TRUE(slots_.StartSlot(kBackup, [this, timing](SlotControl& control) {
            CountingControl counting(control, arrivals_);
            BackupThread(counting, clock_, scheduler_, runner_, sink_, observer_, timing);
        }));
    }
    std::string logText() const { return log_.LoadLogText(); }

    test::TempDir data_;
    test::FakeClock clock_{at(7, 12, 2026, 8, 0, 10, kMonday)};
    BackupSetStore sets_{data_.path()};
    SettingsStore settings_{data_.path()};
    RunLog log_{data_.path(), clock_};
    test::FakeCopy copy_{true};
    BackupRunner runner_{sets_, settings_, log_, copy_.operation()};
    Scheduler scheduler_;
    test::RecordingSink sink_;
    test::RecordingRunObserver observer_;
    std::atomic<int> arrivals_{0};  // of the thread at its status and due test
    ThreadSlots slots_;
};

TEST_F(BackupThreadTest, DueSetRunsOnceInItsMinute) {
    scheduler_.setTable({{"täglich", "08:00", true, "Erster"}});
    start({1ms, 20});
    ASSERT_TRUE(copy_.awaitStarted());
    clock_.set(at(7, 12, 2026, 8, 1, 0, kMonday));  // the minute passes during the run
    copy_.release();

    const std::string nextDay = "Noch 23 Stunden und 59 Minuten bis zur nächsten Sicherung";
    ASSERT_TRUE(eventually([&] {
        const auto statuses = sink_.statuses();
        return !statuses.empty() && statuses.back().oneLine == nextDay;
    }));
    EXPECT_EQ(sink_.statuses().front().oneLine, "Sicherung wird ausgeführt !");
    EXPECT_EQ(copy_.sources(), (std::vector<std::string>{"/quelle/eins"}));
    EXPECT_NE(logText().find("Name=Erster\nVerlauf=ok"), std::string::npos);
    EXPECT_TRUE(observer_.successes().empty()) << "a scheduled run shows no success message";
}

TEST_F(BackupThreadTest, ASetDoesNotRunAgainWhenTheClockShowsItsMinuteAgain) {
    copy_.release();
    scheduler_.setTable({{"täglich", "08:00", true, "Erster"}});
    start({1ms, 1});  // the rest ends long before the minute does, as after a clock set back

    const std::string tomorrow = "Noch 24 Stunden und 0 Minuten bis zur nächsten Sicherung";
    ASSERT_TRUE(eventually([&] {
        int shown = 0;
        for (const StatusText& status : sink_.statuses()) shown += status.oneLine == tomorrow;
        return shown >= 2;  // the due test of the first such tick has finished
    }));
    EXPECT_EQ(copy_.sources(), (std::vector<std::string>{"/quelle/eins"}));
}

TEST_F(BackupThreadTest, NothingOfARunStartsBeforeItsMinuteHasBegun) {
    copy_.release();
    scheduler_.setTable({{"täglich", "08:00", true, "Erster"}});
    const std::int64_t minute = realSeconds(at(7, 12, 2026, 8, 0, 0, kMonday)) * 1000;
    // 07:59:59.860, which the clock shows as 08:00:00.
    clock_.setExactly(minute - 140);
    start({1ms, 1000000});
    ASSERT_TRUE(eventually([&] { return clock_.exactReadings() > 20; }));
    EXPECT_TRUE(copy_.sources().empty());
    EXPECT_TRUE(observer_.started().empty()) << "the progress window opens with the run";

    // Set back meanwhile: the minute is still to come, and the set runs once it begins.
    clock_.setExactly(minute - 20000);
    ASSERT_TRUE(eventually([&] {
        return sink_.statuses().back().oneLine == "Noch 1 Minuten bis zur nächsten Sicherung";
    }));
    EXPECT_TRUE(copy_.sources().empty());
    clock_.setExactly(minute);
    ASSERT_TRUE(eventually([&] { return !copy_.sources().empty(); }));
    EXPECT_EQ(copy_.sources(), (std::vector<std::string>{"/quelle/eins"}));
    EXPECT_EQ(observer_.started(), (std::vector<std::string>{"Erster"}));
}

TEST_F(BackupThreadTest, SetsDueTogetherRunOneAfterTheOtherEachLogged) {
    copy_.release();
    scheduler_.setTable(
        {{"täglich", "08:00", true, "Erster"}, {"Montag", "08:00", true, "Zweiter"}});
    start({1ms, 1000000});  // rests past the end of the test

    ASSERT_TRUE(eventually([&] { return logText().find("Name=Zweiter") != std::string::npos; }));
    EXPECT_EQ(copy_.sources(), (std::vector<std::string>{"/quelle/eins", "/quelle/zwei"}));
    const std::string log = logText();
    EXPECT_LT(log.find("Name=Erster"), log.find("Name=Zweiter"));
}

TEST_F(BackupThreadTest, PauseDuringACopyReturnsAndTheRunFinishes) {
    scheduler_.setTable({{"täglich", "08:00", true, "Erster"}});
    start({1ms, 1});
    ASSERT_TRUE(copy_.awaitStarted());

    auto pause = std::async(std::launch::async, [&] { slots_.PauseSlot(kBackup); });
    ASSERT_EQ(pause.wait_for(kBound), std::future_status::ready);
    EXPECT_EQ(slots_.state(kBackup), SlotState::paused);

    copy_.release();
    EXPECT_TRUE(eventually([&] { return logText().find("Verlauf=ok") != std::string::npos; }));
    slots_.StopSlot(kBackup);
    EXPECT_TRUE(eventually([&] { return !slots_.IsAlive(kBackup); }));
}

TEST_F(BackupThreadTest, NoStatusWhilePaused) {
    scheduler_.setTable({{"täglich", "08:59", true, "Erster"}});
    start({1ms, 1});
    ASSERT_TRUE(sink_.awaitStatuses(3));

    slots_.PauseSlot(kBackup);
    const std::size_t atPause = sink_.statusCount();
    // Each status it shows is one arrival; the next arrival waits for the resume.
    ASSERT_TRUE(eventually([&] { return arrivals_ > static_cast<int>(atPause); }));
    EXPECT_EQ(sink_.statusCount(), atPause);

    slots_.ResumeSlot(kBackup);
    EXPECT_TRUE(sink_.awaitStatuses(atPause + 1));
    EXPECT_EQ(sink_.statuses().back().oneLine, "Noch 59 Minuten bis zur nächsten Sicherung");
}

TEST_F(BackupThreadTest, StopCancelsTheCopyInProgress) {
    scheduler_.setTable(
        {{"täglich", "08:00", true, "Erster"}, {"täglich", "08:00", true, "Zweiter"}});
    start({1ms, 1});
    ASSERT_TRUE(copy_.awaitStarted());

    slots_.StopSlot(kBackup);
    EXPECT_TRUE(copy_.awaitCancelled());
    ASSERT_TRUE(eventually([&] { return !slots_.IsAlive(kBackup); }));
    EXPECT_EQ(copy_.sources().size(), 1u) << "the second set must not start after the stop";
    ASSERT_TRUE(observer_.awaitFailures(1));
    EXPECT_NE(observer_.failures().front().find("Erster"), std::string::npos);
    EXPECT_NE(logText().find("Name=Erster\nVerlauf=error"), std::string::npos);
}

TEST(TimeThreadTest, ShowsTheClockUntilStopped) {
    test::FakeClock clock(at(6, 12, 2026, 19, 30, 5, 0));
    test::RecordingSink sink;
    ThreadSlots slots;
    ASSERT_TRUE(slots.StartSlot(ThreadSlots::kTimeSlot,
                                [&](SlotControl& control) { TimeThread(control, clock, sink); }));
    ASSERT_TRUE(sink.awaitClocks(1));
    clock.set(at(6, 12, 2026, 19, 30, 6, 0));
    ASSERT_TRUE(
        eventually([&] { return sink.clocks().back() == "06.12.2026\nSonntag\n19:30:06"; }));
    EXPECT_EQ(sink.clocks().front(), "06.12.2026\nSonntag\n19:30:05");

    slots.StopSlot(ThreadSlots::kTimeSlot);
    EXPECT_TRUE(eventually([&] { return !slots.IsAlive(ThreadSlots::kTimeSlot); }));
}

TEST(TreeThreadTest, FillsOnceAndEnds) {
    ThreadSlots slots;
    std::atomic<int> fills{0};
    ASSERT_TRUE(slots.StartSlot(
        ThreadSlots::kTreeSlot,
        [&](SlotControl& control) { TreeThread(control, [&](SlotControl&) { ++fills; }); }, false));
    EXPECT_TRUE(eventually([&] { return !slots.IsAlive(ThreadSlots::kTreeSlot); }));
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(slots.state(ThreadSlots::kTreeSlot), SlotState::stopped);
    // It asked itself to stop once its fill was done.
    EXPECT_TRUE(slots.StopRequested(ThreadSlots::kTreeSlot));
}

}  // namespace
}  // namespace vaultrix
