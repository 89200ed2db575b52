#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/BackupRunner.h"

class QLabel;
class QPushButton;

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

// "12 Dateien, 3,4 MB kopiert": the progress line of the window.
QString progressText(std::uint64_t files, std::uint64_t bytes);

// The progress window of a run started by hand. The run itself goes on a worker thread, so
// the window stays responsive and can offer to cancel; a cancelled copy makes the run fail.
// The window closes itself when the worker ends. It shows no message boxes: run() hands the
// outcome back to the caller.
class ManualRunWindow final : public QDialog {
    Q_OBJECT

public:
    // The work of one run: it reports to the observer and returns whether it succeeded.
    using Job = std::function<bool(RunObserver&)>;

    explicit ManualRunWindow(QWidget* parent = nullptr);
    ~ManualRunWindow() override;

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

protected:
    void closeEvent(QCloseEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    class Observer;

    void showProgress(std::uint64_t files, std::uint64_t bytes);
    void workerEnded(std::uint64_t generation);

    QLabel* setLabel_;
    QLabel* progressLabel_;
    QPushButton* cancelButton_;
    std::atomic<bool> cancelRequested_{false};
    bool running_ = false;
    bool workerEnded_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace vaultrix
