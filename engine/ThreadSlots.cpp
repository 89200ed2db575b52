#include "engine/ThreadSlots.h"

#include <iostream>
#include <sstream>
#include <utility>

namespace vaultrix {

// One slot: its state, its thread and the two events of the stop protocol. The slot is the
// SlotControl its thread sees.
struct ThreadSlots::Slot final : SlotControl {
    mutable std::mutex mutex;
    std::condition_variable changed;
    SlotState state = SlotState::stopped;
    bool busy = false;   // the thread is inside a work section
    bool alive = false;  // the thread has not ended yet
    Event stopRequest;
    Event stopped;
    std::thread thread;

    bool StopRequested() const override { return stopRequest.isSet(); }

    bool sleepUnlessStopped(std::chrono::milliseconds duration) override {
        return stopRequest.waitFor(duration);
    }

    void signalStop() override { requestStop(); }

    void waitStopped(std::chrono::milliseconds timeout) override { stopped.waitFor(timeout); }

    bool enterWork() override {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return state != SlotState::paused || stopRequest.isSet(); });
        if (stopRequest.isSet()) return false;
        busy = true;
        return true;
    }

    void leaveWork() override {
        {
            std::lock_guard lock(mutex);
            busy = false;
        }
        changed.notify_all();
    }

    void requestStop() {
        stopRequest.set();
        // Taking the mutex orders the notification after any waiter's test of the predicate.
        { std::lock_guard lock(mutex); }
        changed.notify_all();
    }

    // Marks the thread ended before signalling "stopped", so a StopSlot that wakes on the
    // signal already sees it ended and joins it.
    void finished() {
        {
            std::lock_guard lock(mutex);
            alive = false;
        }
        changed.notify_all();
        stopped.set();
    }

    bool isAlive() const {
        std::lock_guard lock(mutex);
        return alive;
    }

    void joinIfEnded() {
        if (thread.joinable() && !isAlive()) thread.join();
    }
};

ThreadSlots::ThreadSlots() {
    for (auto& s : slots_) s = std::make_unique<Slot>();
}

ThreadSlots::~ThreadSlots() {
    for (auto& s : slots_) {
        {
            std::lock_guard lock(s->mutex);
            if (s->state == SlotState::paused) s->state = SlotState::running;
        }
        s->requestStop();
    }
    for (auto& s : slots_) {
        if (s->thread.joinable()) s->thread.join();
    }
}

ThreadSlots::Slot* ThreadSlots::slot(int i) const {
    if (i < 0 || i >= kSlotCount) return nullptr;
    return slots_[static_cast<std::size_t>(i)].get();
}

bool ThreadSlots::StartSlot(int i, ThreadFunction fn, bool markRunning) {
    Slot* s = slot(i);
    if (s == nullptr || s->isAlive()) return false;
    s->joinIfEnded();
    s->stopRequest.reset();
    s->stopped.reset();
    {
        std::lock_guard lock(s->mutex);
        s->alive = true;
        s->busy = false;
        s->state = markRunning ? SlotState::running : SlotState::stopped;
    }
    s->thread = std::thread([s, fn = std::move(fn)] {
        fn(*s);
        s->finished();
    });
    return true;
}

void ThreadSlots::PauseSlot(int i) {
    Slot* s = slot(i);
    if (s == nullptr) return;
    std::unique_lock lock(s->mutex);
    if (s->state != SlotState::running) return;
    s->state = SlotState::paused;
    // A work section is short (a status update and a due test); a copy is never inside one.
    s->changed.wait(lock, [s] { return !s->busy; });
}

void ThreadSlots::ResumeSlot(int i) {
    Slot* s = slot(i);
    if (s == nullptr) return;
    {
        std::lock_guard lock(s->mutex);
        if (s->state != SlotState::paused) return;
        s->state = SlotState::running;
    }
    s->changed.notify_all();
}

void ThreadSlots::StopSlot(int i) {
    Slot* s = slot(i);
    if (s == nullptr) return;
    ResumeSlot(i);
    if (s->isAlive()) {
        s->requestStop();
        s->stopped.waitFor(kStopWait);
    }
    {
        std::lock_guard lock(s->mutex);
        s->state = SlotState::stopped;
    }
    s->joinIfEnded();
}

bool ThreadSlots::IsAlive(int i) const {
    const Slot* s = slot(i);
    return s != nullptr && s->isAlive();
}

bool ThreadSlots::StopRequested(int i) const {
    const Slot* s = slot(i);
    return s != nullptr && s->StopRequested();
}

SlotState ThreadSlots::state(int i) const {
    const Slot* s = slot(i);
    if (s == nullptr) return SlotState::stopped;
    std::lock_guard lock(s->mutex);
    return s->state;
}

bool ThreadSlots::anyAlive() const {
    for (const auto& s : slots_) {
        if (s->isAlive()) return true;
    }
    return false;
}

void reportThreadName(std::string_view name) {
    std::ostringstream line;
    line << name << " (" << std::this_thread::get_id() << ")\n";
    std::clog << line.str() << std::flush;
}

}  // namespace vaultrix
