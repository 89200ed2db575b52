#include "engine/BackupRunner.h"

#include <optional>
#include <utility>

#include "store/KeyedTextFile.h"

namespace vaultrix {

std::string runSuccessMessage(const std::string& name) {
    return "Ihre Sicherung '" + name + "' wurde erfolgreich durchgeführt!";
}

std::string runFailureMessage(const std::string& name, const Error& error) {
    std::string message = "Die Sicherung '" + name +
                          "' konnte nicht vollständig durchgeführt werden.\n\n" + error.message;
    // The copy names the path in its message; say it here only where it did not.
    if (!error.path.empty() && error.message.find(error.path) == std::string::npos) {
        message += "\n\nPfad: " + error.path;
    }
    return message;
}

std::string logFailureMessage(const std::string& name, const Error& error) {
    return "Der Verlauf der Sicherung '" + name +
           "' konnte nicht in die Log Datei geschrieben werden.\n\n" + error.message;
}

BackupRunner::BackupRunner(const BackupSetStore& sets, const SettingsStore& settings, RunLog& log)
    : BackupRunner(sets, settings, log,
                   [](const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer) {
                       return CopyToFolder(source, destination, flags, observer);
                   }) {}

BackupRunner::BackupRunner(const BackupSetStore& sets, const SettingsStore& settings, RunLog& log,
                           CopyOperation copy)
    : sets_(sets), settings_(settings), log_(log), copy_(std::move(copy)) {}

bool BackupRunner::RunBackupSet(const std::string& name, bool startedByHand,
                                RunObserver& observer) {
    std::optional<Error> failed;
    Result<> logged;
    {
        std::lock_guard run(runMutex_);
        failed = copyAll(name, observer);
        // The log keeps a file it cannot replace as it was; the run's outcome stands regardless.
        logged = log_.AppendRecord(failed ? kResultError : kResultOk, name, kActionStarted);
    }
    // Reported once the run has let go of the lock, so a message that waits for the user does
    // not hold up the next run.
    if (failed) {
        observer.onRunFailed(runFailureMessage(name, *failed));
    } else if (startedByHand) {
        observer.onRunSucceeded(runSuccessMessage(name));
    }
    if (!logged) {
        observer.onLogFailed(logFailureMessage(name, logged.error()));
    }
    return !failed;
}

std::optional<Error> BackupRunner::copyAll(const std::string& name, CopyObserver& observer) {
    const unsigned flags = settings_.overwriteMode() ? kCopyFlagsOverwrite : kCopyFlagsNewCopy;
    BackupSet set;
    {
        // One consistent reading of destination and sources: a save cannot land in between.
        const auto lock = KeyedTextFile::lock(sets_.folder() / kSetFileName);
        set = sets_.loadSet(name);
    }
    for (const std::string& source : set.sources) {
        Result<> copied = copy_(source, set.destination, flags, observer);
        if (!copied) return copied.error();
    }
    return std::nullopt;
}

}  // namespace vaultrix
