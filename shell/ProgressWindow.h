#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/BackupRunner.h"
#include "engine/TimeLeft.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vaultrix {

// How a run started by hand ended. The caller shows the messages after the window closed.
struct RunReport {
    bool success = false;
    QString successMessage;
    QString failureMessage;
    // The run's record could not be written to the log.
    QString logFailureMessage;
};

// The title of the progress window.
inline constexpr const char* kCopyProgressTitle =
    "Vaultrix führt die automatische Datensicherung durch!";

// "12 Dateien, 3,4 MB kopiert": the progress line of the window until the run's total is known.
QString progressText(std::uint64_t files, std::uint64_t bytes);
// "42 % – 3,4 GB von 8,1 GB kopiert": the progress line once it is; by files where the total
// has no bytes ("40 % – 2 von 5 Dateien kopiert").
QString countedProgressText(const CopyProgress& done, const CopyProgress& total);
// The line below it: "noch etwa 5 Minuten", "noch etwa 1 Minute", "noch weniger als eine
// Minute", or "Restzeit wird ermittelt …" while there is no estimate.
QString timeLeftText(std::optional<std::chrono::seconds> left);

// Lets a run's numbers through at most every 100 ms, so a copy of many small files does not
// flood the window thread with updates.
class RunProgress {
public:
    // The run's numbers when they are due to be shown.
    std::optional<CopyProgress> add(const CopyProgress& progress);
    // The run's last numbers, in case the throttle held them back; nothing before any came.
    std::optional<CopyProgress> last() const;

private:
    CopyProgress latest_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point lastShown_;
};

// The small progress window of a backup run, titled "Vaultrix führt die automatische
// Datensicherung durch!". It never shows a message box, nor a file name. Its bar moves without
// an end until the counting walk beside the run has found the total; from then on it shows the
// share of bytes done and the time left.
//
// A run started by hand: run() shows the window modal while the run goes on a worker thread, so
// the window stays responsive and can offer to cancel (a cancelled copy makes the run fail); it
// closes itself when the worker ends and hands the outcome back to the caller.
//
// A scheduled run goes on the backup thread; the window only shows it, driven through the
// window thread's queue: showScheduledRun(), showProgress(), scheduledRunEnded().
class ProgressWindow final : public QDialog {
    Q_OBJECT

public:
    // The work of one run: it reports to the observer and returns whether it succeeded.
    using Job = std::function<bool(RunObserver&)>;

    explicit ProgressWindow(QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Runs the set `name` as started by hand; returns when the run has ended.
    RunReport run(BackupRunner& runner, const std::string& name) {
        return run(QString::fromStdString(name), [&runner, &name](RunObserver& observer) {
            return runner.RunBackupSet(name, true, observer);
        });
    }

    // Shows the window modal to its parent while `job` runs on a worker thread; the worker is
    // joined before this returns.
    RunReport run(const QString& setName, const Job& job);

    // Asks the run in progress to stop at the next safe point; the window closes when it has.
    // The main window calls this when it is closed during a run.
    void cancel();

    // Shows a scheduled run of the set, without taking the focus and without Abbrechen (the
    // backup thread's run stops only when the program ends).
    void showScheduledRun(const QString& setName);
    void showProgress(std::uint64_t files, std::uint64_t bytes);
    // The run's total is known: the bar gets its end.
    void showTotal(std::uint64_t files, std::uint64_t bytes);
    void scheduledRunEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    class Observer;

    void workerEnded(std::uint64_t generation);
    // A new run of the set: nothing done, no total.
    void startShowing(const QString& setName);
    void showNumbers();

    QLabel* setLabel_;
    QProgressBar* bar_;
    QLabel* progressLabel_;
    QLabel* timeLabel_;
    QPushButton* cancelButton_;
    // Once a total is known, the time left is shown anew every second, also while no progress
    // comes.
    QTimer* refresh_;
    TimeLeftEstimate estimate_;
    CopyProgress done_;
    std::optional<CopyProgress> total_;
    std::atomic<bool> cancelRequested_{false};
    bool running_ = false;
    bool workerEnded_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace vaultrix
