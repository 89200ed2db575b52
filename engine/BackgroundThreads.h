#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/BackupRunner.h"
#include "engine/Scheduler.h"
#include "engine/ThreadSlots.h"
#include "platform/Clock.h"

namespace vaultrix {

// Where the background threads leave their texts. The window implements it with queued
// calls, so no background thread touches a widget and none waits for the window thread.
class WindowSink {
public:
    virtual ~WindowSink() = default;
    // Date, weekday and time on three lines: "06.12.2026\nSonntag\n19:30:05".
    virtual void showClock(const std::string& text) = 0;
    // The countdown: the caption line (after "Vaultrix 1.0 - ") and the tray tooltip.
    virtual void showStatus(const StatusText& status) = 0;
};

// The clock display text for a moment: date, weekday name and time on three lines.
std::string clockText(const LocalTime& now);

// The clock thread ("zeit thread"): the date, weekday and time every 100 ms until stopped.
void TimeThread(SlotControl& control, const Clock& clock, WindowSink& sink);

// The rhythm of the backup thread: a tick, and the number of ticks it rests after running due
// sets. Tests shorten them.
struct BackupThreadTiming {
    std::chrono::milliseconds tick{500};
    int restTicks = 120;
};

// The backup thread ("sicherung thread"): every tick the status; the due sets run one after
// another, then a rest of 60 seconds (120 ticks, the stop request tested after each). It
// remembers the local date and minute each set last ran for, so no set runs twice for one, also
// when the clock shows that minute again. The due test reads the clock to the nearest second;
// no run starts before the real beginning of its minute. Status and due test form a work section,
// so a paused thread does neither; runs happen outside it. Ends when stopped; a copy in progress is
// then cancelled, because the run sees the stop request through the observer it is given.
void BackupThread(SlotControl& control, const Clock& clock, const Scheduler& scheduler,
                  BackupRunner& runner, WindowSink& sink, RunObserver& observer,
                  BackupThreadTiming timing = {});

// The one-shot tree thread ("treeview thread"): runs `fill` once, signals its own stop request,
// waits 500 ms and ends. Start it in the tree slot with markRunning = false; whether it still
// runs is ThreadSlots::IsAlive.
void TreeThread(SlotControl& control, const std::function<void(SlotControl&)>& fill);

}  // namespace vaultrix
