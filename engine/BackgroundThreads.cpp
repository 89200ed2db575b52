#include "engine/BackgroundThreads.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vaultrix {

namespace {

constexpr std::chrono::milliseconds kClockTick{100};

// The observer a scheduled run gets: it passes everything on and also cancels the copy when
// the thread is asked to stop.
class StoppableObserver final : public RunObserver {
public:
    StoppableObserver(SlotControl& control, RunObserver& inner)
        : control_(control), inner_(inner) {}

    void onRunStarted(const std::string& name) override { inner_.onRunStarted(name); }
    void onRunEnded() override { inner_.onRunEnded(); }
    void onTotalCounted(const CopyProgress& total) override { inner_.onTotalCounted(total); }
    void onProgress(const CopyProgress& progress) override { inner_.onProgress(progress); }
    bool cancelRequested() override { return control_.StopRequested() || inner_.cancelRequested(); }
    void onRunSucceeded(const std::string& message) override { inner_.onRunSucceeded(message); }
    void onRunFailed(const std::string& message) override { inner_.onRunFailed(message); }
    void onLogFailed(const std::string& message) override { inner_.onLogFailed(message); }

private:
    SlotControl& control_;
    RunObserver& inner_;
};

// The due test reads the clock to the nearest second, so a due minute shows up to half a second
// before it begins. The thread waits for the real beginning (given in milliseconds); a reading
// further before it means the clock was set back meanwhile, and the minute is still to come.
enum class MinuteStart { begun, setBack, stopped };

MinuteStart awaitMinuteStart(SlotControl& control, const Clock& clock, std::int64_t begins,
                             std::chrono::milliseconds tick) {
    constexpr std::int64_t kRounding = 500;
    for (;;) {
        const std::int64_t left = begins - clock.realMilliseconds();
        if (left <= 0) return MinuteStart::begun;
        if (left > kRounding) return MinuteStart::setBack;
        if (control.sleepUnlessStopped(std::min(std::chrono::milliseconds(left), tick)))
            return MinuteStart::stopped;
    }
}

}  // namespace

std::string clockText(const LocalTime& now) {
    return formatDate(now) + "\n" + weekdayName(now.weekday) + "\n" + formatTime(now);
}

void TimeThread(SlotControl& control, const Clock& clock, WindowSink& sink) {
    reportThreadName("zeit thread");
    do {
        WorkSection work(control);
        if (!work.entered()) return;
        sink.showClock(clockText(clock.now()));
    } while (!control.sleepUnlessStopped(kClockTick));
}

void BackupThread(SlotControl& control, const Clock& clock, const Scheduler& scheduler,
                  BackupRunner& runner, WindowSink& sink, RunObserver& observer,
                  BackupThreadTiming timing) {
    reportThreadName("sicherung thread");
    StoppableObserver stoppable(control, observer);
    // Held only here, so a restart forgets it; a run started by hand does not count.
    LastRuns lastRuns;
    while (!control.sleepUnlessStopped(timing.tick)) {
        std::vector<DueSet> due;
        std::int64_t minuteBegins = 0;
        {
            WorkSection work(control);
            if (!work.entered()) return;
            const LocalTime now = clock.now();
            sink.showStatus(scheduler.UpdateStatusText(clock, now, lastRuns));
            due = scheduler.CollectDueSets(clock, now, lastRuns);
            minuteBegins = (realSeconds(now) - now.second) * 1000;
        }
        if (due.empty()) continue;
        switch (awaitMinuteStart(control, clock, minuteBegins, timing.tick)) {
            case MinuteStart::begun:
                break;
            case MinuteStart::setBack:
                continue;
            case MinuteStart::stopped:
                return;
        }
        for (const DueSet& set : due) {
            if (control.StopRequested()) return;
            lastRuns[set.name] = set.minute;
            runner.RunBackupSet(set.name, false, stoppable);
        }
        // The rest after runs, as always: the status keeps its due-now text through it.
        for (int i = 0; i < timing.restTicks; ++i) {
            if (control.sleepUnlessStopped(timing.tick)) return;
        }
    }
}

void TreeThread(SlotControl& control, const std::function<void(SlotControl&)>& fill) {
    reportThreadName("treeview thread");
    fill(control);
    // Its own stop request, then a wait on its own stopped event, which nothing signals before
    // the thread ends: for that half second the thread is still alive, so a second refresh in
    // it starts no second fill.
    control.signalStop();
    control.waitStopped(ThreadSlots::kStopWait);
}

}  // namespace vaultrix
