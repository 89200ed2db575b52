#include "engine/BackupRunner.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

#include "platform/ThreadPriority.h"

namespace vaultrix {

std::string runSuccessMessage(const std::string& name) {
    return "Ihre Sicherung '" + name + "' wurde erfolgreich durchgeführt!";
}

namespace {

// The counting walk's total, handed from its thread to the run's.
class CountedTotal {
public:
    void set(const CopyProgress& total) {
        total_ = total;
        ready_.store(true, std::memory_order_release);
    }
    std::optional<CopyProgress> get() const {
        if (!ready_.load(std::memory_order_acquire)) return std::nullopt;
        return total_;
    }

private:
    CopyProgress total_;
    std::atomic<bool> ready_{false};
};

// Watches the copies of one run: passes cancel on, turns each copy's progress (which counts
// from zero for every source) into the run's, hands the counted total on once, and keeps the
// failures. A destination that cannot be used fails every source alike: a failure already shown
// is not counted again.
class RunCollector final : public CopyObserver {
public:
    RunCollector(RunObserver& inner, const CountedTotal& counted)
        : inner_(inner), counted_(counted) {}

    void onProgress(const CopyProgress& progress) override {
        if (!totalTold_) {
            if (const std::optional<CopyProgress> total = counted_.get()) {
                totalTold_ = true;
                inner_.onTotalCounted(*total);
            }
        }
        source_ = progress;
        inner_.onProgress(CopyProgress{earlierSources_.filesDone + progress.filesDone,
                                       earlierSources_.bytesDone + progress.bytesDone});
    }
    bool cancelRequested() override { return inner_.cancelRequested(); }
    void onFailure(const Error& error) override {
        ++told;
        const bool repeated =
            std::any_of(failures.first.begin(), failures.first.end(), [&](const Error& shown) {
                return shown.message == error.message && shown.path == error.path;
            });
        if (!repeated) failures.add(error);
    }

    // The copy of one source has ended: the next one counts from zero.
    void sourceEnded() {
        earlierSources_.filesDone += source_.filesDone;
        earlierSources_.bytesDone += source_.bytesDone;
        source_ = CopyProgress{};
    }

    RunFailures failures;
    std::uint64_t told = 0;

private:
    RunObserver& inner_;
    const CountedTotal& counted_;
    bool totalTold_ = false;
    CopyProgress earlierSources_;
    CopyProgress source_;
};

// The copy names the path in its message; it is added only where it did not.
std::string withPath(const Error& error, const char* separator) {
    if (error.path.empty() || error.message.find(error.path) != std::string::npos)
        return error.message;
    return error.message + separator + "Pfad: " + error.path;
}

}  // namespace

void RunFailures::add(const Error& error) {
    if (first.size() < kShown) first.push_back(error);
    ++count;
}

std::string runFailureMessage(const std::string& name, const RunFailures& failures) {
    std::string message =
        "Die Sicherung '" + name + "' konnte nicht vollständig durchgeführt werden.\n\n";
    if (failures.count == 1 && !failures.first.empty())
        return message + withPath(failures.first.front(), "\n\n");
    message += std::to_string(failures.count) + " Einträge konnten nicht gesichert werden:\n";
    for (const Error& error : failures.first) message += "\n" + withPath(error, " - ");
    if (failures.count > failures.first.size())
        message += "\n… und " + std::to_string(failures.count - failures.first.size()) + " weitere";
    return message;
}

std::string incompleteSetMessage(const StoredSet& stored) {
    const BackupSet& set = stored.set;
    std::string missing;
    if (!stored.hasSection) {
        missing = "Sie ist nicht gespeichert: In der Datei save.ini fehlen ihre Einstellungen.";
    } else if (set.sources.empty() && set.destination.empty()) {
        missing = "Sie hat keine Quelle und kein Ziel.";
    } else if (set.sources.empty()) {
        missing = "Sie hat keine Quelle.";
    } else if (set.destination.empty()) {
        missing = "Sie hat kein Ziel.";
    } else {
        return {};
    }
    return "Die Sicherung '" + set.name + "' wurde nicht durchgeführt. " + missing +
           "\n\nBitte bearbeiten oder löschen Sie die Sicherung.";
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
                           CopyOperation copy, CountOperation count)
    : sets_(sets),
      settings_(settings),
      log_(log),
      copy_(std::move(copy)),
      count_(std::move(count)) {}

bool BackupRunner::RunBackupSet(const std::string& name, bool startedByHand,
                                RunObserver& observer) {
    RunFailures failures;
    std::string refusal;
    Result<> logged;
    {
        std::lock_guard run(runMutex_);
        observer.onRunStarted(name);
        // One reading of destination and sources: a save cannot land in between.
        const StoredSet stored = sets_.loadStoredSet(name);
        // Nothing to copy is no success: the set would be reported as backed up.
        refusal = incompleteSetMessage(stored);
        if (refusal.empty()) failures = copyAll(stored.set, observer);
        const bool succeeded = refusal.empty() && failures.count == 0;
        // The log keeps a file it cannot replace as it was; the run's outcome stands regardless.
        logged = log_.AppendRecord(succeeded ? kResultOk : kResultError, name, kActionStarted);
    }
    observer.onRunEnded();
    // Reported once the run has let go of the lock, so a message that waits for the user does
    // not hold up the next run.
    if (!refusal.empty()) {
        observer.onRunFailed(refusal);
    } else if (failures.count > 0) {
        observer.onRunFailed(runFailureMessage(name, failures));
    } else if (startedByHand) {
        observer.onRunSucceeded(runSuccessMessage(name));
    }
    if (!logged) {
        observer.onLogFailed(logFailureMessage(name, logged.error()));
    }
    return refusal.empty() && failures.count == 0;
}

RunFailures BackupRunner::copyAll(const BackupSet& set, RunObserver& observer) {
    const unsigned flags = settings_.overwriteMode() ? kCopyFlagsOverwrite : kCopyFlagsNewCopy;
    CountedTotal counted;
    RunCollector collector(observer, counted);
    {
        // The walk only reads and gives way to everything else, so the copies never wait for
        // it; leaving this block asks it to stop and joins it, whether the copies are through or
        // were cancelled.
        std::jthread counting([this, &set, &counted](std::stop_token stop) {
            moveThreadToBackground();
            if (const auto total = count_(set.sources, set.destination, stop)) counted.set(*total);
        });
        for (const std::string& source : set.sources) {
            const std::uint64_t before = collector.told;
            const Result<> copied = copy_(source, set.destination, flags, collector);
            // A stand-in copy may fail without telling its failures one by one.
            if (!copied && collector.told == before) collector.onFailure(copied.error());
            collector.sourceEnded();
            if (observer.cancelRequested()) break;
        }
    }
    return std::move(collector.failures);
}

}  // namespace vaultrix
