#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/CopyToFolder.h"
#include "engine/CountingWalk.h"
#include "engine/RunLog.h"
#include "store/BackupSetStore.h"
#include "store/SettingsStore.h"

namespace vaultrix {

// What a run tells the user; the window implements it. Called on the thread of the run, and
// progress and failures from the copy's workers too, one call at a time. Its progress reports
// are the whole run's numbers, every source so far together.
class RunObserver : public CopyObserver {
public:
    // The run has its turn and starts copying the set of this name.
    virtual void onRunStarted(const std::string&) {}
    // The counting walk beside the copy is through: the numbers the run will reach. Comes at
    // most once, before the progress report that follows it.
    virtual void onTotalCounted(const CopyProgress&) {}
    // The run has copied and logged; its outcome is reported next.
    virtual void onRunEnded() {}
    // Only for a run started by hand that succeeded: "Ihre Sicherung 'Name' wurde erfolgreich
    // durchgeführt!"
    virtual void onRunSucceeded(const std::string& message) = 0;
    // A copy failed: a German message naming the path and the reason.
    virtual void onRunFailed(const std::string& message) = 0;
    // The run's record could not be written to the log: a German message with the reason. It
    // comes once per run, after the run's own outcome.
    virtual void onLogFailed(const std::string& message) = 0;
};

// The failures of one run: the first ones in full, and how many there were.
struct RunFailures {
    static constexpr std::size_t kShown = 10;
    std::vector<Error> first;
    std::uint64_t count = 0;

    void add(const Error& error);
};

// "Ihre Sicherung '<name>' wurde erfolgreich durchgeführt!"
std::string runSuccessMessage(const std::string& name);
// The German message for a run that failed: each shown failure's path and reason; for several,
// how many entries failed, the first ten and "… und N weitere".
std::string runFailureMessage(const std::string& name, const RunFailures& failures);
// The German message for a set that cannot run at all: it has no section in "save.ini", no
// source or no destination. Empty when the set can run.
std::string incompleteSetMessage(const StoredSet& stored);
// The German message for a run whose record the log could not take.
std::string logFailureMessage(const std::string& name, const Error& error);

// Carries out backup sets: every source, in stored order, into the set's destination.
// Whole runs are serialised: a run started by hand waits for a scheduled one and the other
// way round.
class BackupRunner {
public:
    // The copy of one source into the destination: CopyToFolder, or a stand-in in tests.
    using CopyOperation =
        std::function<Result<>(const std::string& source, const std::string& destination,
                               unsigned flags, CopyObserver& observer)>;
    // The counting walk of all sources: countSources, or a stand-in in tests.
    using CountOperation = std::function<std::optional<CopyProgress>(
        const std::vector<std::string>& sources, const std::string& destination,
        std::stop_token stop)>;

    BackupRunner(const BackupSetStore& sets, const SettingsStore& settings, RunLog& log);
    BackupRunner(const BackupSetStore& sets, const SettingsStore& settings, RunLog& log,
                 CopyOperation copy, CountOperation count = countSources);

    // Reads the copy method, the destination and every source before the first copy, copies
    // every source (a cancel ends the run early) while the counting walk runs beside the copies
    // on a thread of its own, appends the log record and then reports to the observer (by that,
    // the next run may start). The walk ends with the copies, cancelled or not. A set that is not
    // stored, or has no source or no destination, fails without copying. Returns whether
    // everything was copied.
    bool RunBackupSet(const std::string& name, bool startedByHand, RunObserver& observer);

private:
    // Copies every source and collects what failed.
    RunFailures copyAll(const BackupSet& set, RunObserver& observer);

    const BackupSetStore& sets_;
    const SettingsStore& settings_;
    RunLog& log_;
    CopyOperation copy_;
    CountOperation count_;
    std::mutex runMutex_;
};

}  // namespace vaultrix
