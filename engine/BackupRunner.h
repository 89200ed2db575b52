#pragma once

#include <mutex>
#include <string>

#include "engine/CopyToFolder.h"
#include "engine/RunLog.h"
#include "store/BackupSetStore.h"
#include "store/SettingsStore.h"

namespace vaultrix {

// What a run tells the user; the window implements it. Called on the thread of the run.
class RunObserver : public CopyObserver {
public:
    // Only for a run started by hand that succeeded: "Ihre Sicherung 'Name' wurde erfolgreich
    // durchgeführt!"
    virtual void onRunSucceeded(const std::string& message) = 0;
    // A copy failed: a German message naming the path and the reason.
    virtual void onRunFailed(const std::string& message) = 0;
};

// "Ihre Sicherung '<name>' wurde erfolgreich durchgeführt!"
std::string runSuccessMessage(const std::string& name);
// The German message for a failed copy of a set: the path and the reason.
std::string runFailureMessage(const std::string& name, const Error& error);

// Carries out backup sets: every source, in stored order, into the set's destination.
// Whole runs are serialised: a run started by hand waits for a scheduled one and the other
// way round.
class BackupRunner {
public:
    BackupRunner(const BackupSetStore& sets, const SettingsStore& settings, RunLog& log);

    // Reads the copy method, the destination and every source before the first copy, copies
    // until the first failure, reports to the observer and appends the log record.
    // Returns whether every source was copied.
    bool RunBackupSet(const std::string& name, bool startedByHand, RunObserver& observer);

private:
    const BackupSetStore& sets_;
    const SettingsStore& settings_;
    RunLog& log_;
    std::mutex runMutex_;
};

}  // namespace vaultrix
