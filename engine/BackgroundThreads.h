#pragma once

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

// The clock thread: the date, weekday and time every 100 ms until stopped.
void TimeThread(SlotControl& control, const Clock& clock, WindowSink& sink);

// The backup thread: every 500 ms the status; the due sets run one after another, then a pause
// of 60 seconds (120 sleeps of 500 ms) so each set runs once in its minute. Ends when stopped;
// a copy in progress is cancelled by the stop request through `observer`.
void BackupThread(SlotControl& control, const Clock& clock, const Scheduler& scheduler,
                  BackupRunner& runner, WindowSink& sink, RunObserver& observer);

}  // namespace vaultrix
