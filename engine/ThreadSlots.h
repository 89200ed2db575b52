#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "engine/Event.h"

namespace vaultrix {

enum class SlotState { stopped = 0, running = 1, paused = 2 };

// What a background thread sees of its slot: the stop request, bounded sleeps, and the safe
// points at which a pause takes hold.
class SlotControl {
public:
    virtual ~SlotControl() = default;
    // A test of the stop request that never waits.
    virtual bool StopRequested() const = 0;
    // Sleeps for `duration` unless a stop is requested first; true when a stop was requested.
    virtual bool sleepUnlessStopped(std::chrono::milliseconds duration) = 0;
    // Signals the slot's own stop request, as a one-shot thread does when its work is done.
    virtual void signalStop() = 0;
    // Waits at most `timeout` for the slot's stopped event.
    virtual void waitStopped(std::chrono::milliseconds timeout) = 0;
    // Waits while the slot is paused (the thread is parked at a safe point), then marks the
    // thread busy until leaveWork; PauseSlot waits for that. Returns false, without marking,
    // when a stop was requested. Use it through WorkSection.
    virtual bool enterWork() = 0;
    virtual void leaveWork() = 0;
};

// Marks one stretch of work that a pause must not cut into.
class WorkSection {
public:
    explicit WorkSection(SlotControl& control) : control_(control), entered_(control.enterWork()) {}
    ~WorkSection() {
        if (entered_) control_.leaveWork();
    }
    WorkSection(const WorkSection&) = delete;
    WorkSection& operator=(const WorkSection&) = delete;
    // False when the thread is to stop instead.
    bool entered() const { return entered_; }

private:
    SlotControl& control_;
    bool entered_;
};

// The four slots for background threads: 0 the clock, 2 the folder tree, 3 the backups
// (1 stays empty). Pausing is cooperative: PauseSlot returns once the thread is parked or busy
// outside a work section, never waiting for a copy. Stopping asks the thread to end (which
// cancels a copy in progress) and waits a bounded time; no thread is killed.
//
// The slots are driven from one owning thread (the window thread); the threads themselves only
// use their SlotControl. Numbers outside 0 … 3 are ignored.
class ThreadSlots {
public:
    static constexpr int kSlotCount = 4;                        // slot 1 is never used
    static constexpr int kTimeSlot = 0;                         // the clock thread
    static constexpr int kTreeSlot = 2;                         // the one-shot folder tree thread
    static constexpr int kBackupSlot = 3;                       // the backup thread
    static constexpr std::chrono::milliseconds kStopWait{500};  // the longest StopSlot waits

    using ThreadFunction = std::function<void(SlotControl&)>;

    ThreadSlots();
    // Asks every thread to stop and waits for the ones that end.
    ~ThreadSlots();
    ThreadSlots(const ThreadSlots&) = delete;
    ThreadSlots& operator=(const ThreadSlots&) = delete;

    // Starts fn on a new thread in slot i and returns once it runs. markRunning sets the
    // state to running (the tree slot keeps "stopped"; its liveness is IsAlive). Refused
    // (false) while the slot's earlier thread is still alive.
    bool StartSlot(int i, ThreadFunction fn, bool markRunning = true);
    // Running → paused; no effect in any other state.
    void PauseSlot(int i);
    // Paused → running; no effect in any other state.
    void ResumeSlot(int i);
    // Resumes, requests the stop, waits up to 500 ms for the thread to end; state stopped.
    // A thread that has not ended by then is left running (it is never killed).
    void StopSlot(int i);

    bool IsAlive(int i) const;
    bool StopRequested(int i) const;
    SlotState state(int i) const;
    // True when some thread has not ended yet (after StopSlot it is left to end with the process).
    bool anyAlive() const;

private:
    struct Slot;
    Slot* slot(int i) const;

    std::array<std::unique_ptr<Slot>, kSlotCount> slots_;
};

// Reports a background thread's name and id once on the diagnostic output (std::clog).
void reportThreadName(std::string_view name);

}  // namespace vaultrix
