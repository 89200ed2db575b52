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
// The main window is handed them; they are made before it and outlive it, so no thread ever
// reports to an object that is gone.
class AppServices {
public:
    explicit AppServices(const FormServices& services);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    // The clock thread in its slot and the backup thread in its slot.
    void startThreads();
    // Stops the four slots in order, each waiting a bounded time (ThreadSlots::StopSlot).
    void stopThreads();
    // True when a background thread did not end when asked; it is left to end with the process.
    bool threadsAlive() const { return slots.anyAlive(); }

    const FormServices services;
    BackupSetStore sets;
    SettingsStore settings;
    RunLog log;
    Scheduler scheduler;
    BackupRunner runner;
    // Carries the threads' reports to the window thread.
    WindowBridge bridge;
    // Last: its threads use the members above and are stopped and joined before those go.
    ThreadSlots slots;
};

}  // namespace vaultrix
