#include "engine/BackgroundThreads.h"

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
        {
            WorkSection work(control);
            if (!work.entered()) return;
            const LocalTime now = clock.now();
            sink.showStatus(scheduler.UpdateStatusText(clock, now, lastRuns));
            due = scheduler.CollectDueSets(clock, now, lastRuns);
        }
        if (due.empty()) continue;
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
