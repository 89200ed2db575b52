#pragma once

#include <QRect>
#include <filesystem>
#include <functional>

#include "app/WindowBridge.h"
#include "engine/BackupRunner.h"
#include "engine/PathProbe.h"
#include "engine/RunLog.h"
#include "engine/Scheduler.h"
#include "engine/ThreadSlots.h"
#include "engine/TreeListing.h"
#include "platform/Clock.h"
#include "store/BackupSetStore.h"
#include "store/SettingsStore.h"

namespace vaultrix {

class MessagePresenter;
class SoundPlayer;

// What the program takes from outside; tests pass their own.
struct FormServices {
    std::filesystem::path dataFolder;  // where the data files live (the working folder)
    const Clock& clock;
    MessagePresenter& messages;
    SoundPlayer& sounds;
    std::function<QRect()> workArea;        // the desktop's work area, for the placement
    BackupRunner::CopyOperation copy = {};  // the copy of one source; none for CopyToFolder
    TreeListing::Roots volumeRoots = {};    // the folder tree's tops; none for the system's
    // Whether the desktop offers a notification area (tray) now; none asks Qt.
    std::function<bool()> trayAvailable = {};
    // The path tests of the set details and of the folder tree's selection; none for the
    // system's (PathExists, fs::isFolderPath).
    PathTest pathExists = {};
    PathTest isFolderPath = {};
};

// The program's core objects over its data folder and the background threads that use them.
// They are made before the main window and outlive it, so no thread ever reports to an object
// that is gone. The window hands each page, dialog and the editor the parts it works with;
// none of them is given the whole.
class AppServices {
public:
    explicit AppServices(const FormServices& outside);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // What the program was given from outside, the system's own where it was given none.
    const FormServices& outside() const { return outside_; }
    BackupSetStore& sets() { return sets_; }
    SettingsStore& settings() { return settings_; }
    RunLog& log() { return log_; }
    Scheduler& scheduler() { return scheduler_; }
    BackupRunner& runner() { return runner_; }
    // Carries the threads' reports to the window thread.
    WindowBridge& bridge() { return bridge_; }
    ThreadSlots& slots() { return slots_; }

    // Builds the schedule table from the stored sets, then starts the clock thread and the
    // backup thread in their slots.
    void startThreads();
    // Stops the four slots in order, each waiting a bounded time (ThreadSlots::StopSlot).
    void stopThreads();
    // True when a background thread did not end when asked; it is left to end with the process.
    bool threadsAlive() const { return slots_.anyAlive(); }

private:
    const FormServices outside_;
    BackupSetStore sets_;
    SettingsStore settings_;
    RunLog log_;
    Scheduler scheduler_;
    BackupRunner runner_;
    WindowBridge bridge_;
    // Last: its threads use the members above and are stopped and joined before those go.
    ThreadSlots slots_;
};

}  // namespace vaultrix
