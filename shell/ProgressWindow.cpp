#include "shell/ProgressWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>
#include <thread>

#include "engine/CopyToFolder.h"
#include "shell/Style.h"

namespace vaultrix {

namespace {

constexpr std::chrono::milliseconds kProgressInterval{100};

QString sizeText(std::uint64_t bytes, const QLocale& german) {
    if (bytes < 1024) return QStringLiteral("%1 Bytes").arg(german.toString(qulonglong(bytes)));
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    double value = double(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    return german.toString(value, 'f', 1) + QLatin1Char(' ') + QLatin1String(kUnits[unit]);
}

}  // namespace

QString progressText(std::uint64_t files, std::uint64_t bytes) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString count = files == 1
                              ? QStringLiteral("1 Datei")
                              : german.toString(qulonglong(files)) + QStringLiteral(" Dateien");
    return QStringLiteral("%1, %2 kopiert").arg(count, sizeText(bytes, german));
}

std::optional<CopyProgress> RunProgress::add(const CopyProgress& progress) {
    // A drop marks the next source.
    if (progress.filesDone < source_.filesDone || progress.bytesDone < source_.bytesDone) {
        earlierSources_.filesDone += source_.filesDone;
        earlierSources_.bytesDone += source_.bytesDone;
    }
    source_ = progress;
    latest_ = CopyProgress{earlierSources_.filesDone + progress.filesDone,
                           earlierSources_.bytesDone + progress.bytesDone};
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - lastShown_ < kProgressInterval) return std::nullopt;
    shown_ = true;
    lastShown_ = now;
    return latest_;
}

std::optional<CopyProgress> RunProgress::last() const {
    if (!shown_) return std::nullopt;
    return latest_;
}

// Runs on the worker thread: hands progress to the window with queued calls and keeps the
// run's messages for run() to read after the join.
class ProgressWindow::Observer final : public RunObserver {
public:
    Observer(ProgressWindow& window, const std::atomic<bool>& cancel)
        : window_(window), cancel_(cancel) {}

    void onProgress(const CopyProgress& progress) override {
        if (const auto shown = progress_.add(progress)) post(*shown);
    }

    bool cancelRequested() override { return cancel_.load(); }
    void onRunSucceeded(const std::string& message) override { successMessage = message; }
    void onRunFailed(const std::string& message) override { failureMessage = message; }
    void onLogFailed(const std::string& message) override { logFailureMessage = message; }

    // The last numbers, in case the throttle held them back.
    void flush() {
        if (const auto last = progress_.last()) post(*last);
    }

    std::string successMessage;
    std::string failureMessage;
    std::string logFailureMessage;

private:
    void post(const CopyProgress& progress) {
        ProgressWindow* window = &window_;
        QMetaObject::invokeMethod(
            window,
            [window, progress] { window->showProgress(progress.filesDone, progress.bytesDone); },
            Qt::QueuedConnection);
    }

    ProgressWindow& window_;
    const std::atomic<bool>& cancel_;
    RunProgress progress_;
};

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent),
      setLabel_(new QLabel(this)),
      progressLabel_(new QLabel(this)),
      cancelButton_(new QPushButton(QStringLiteral("Abbrechen"), this)) {
    setWindowTitle(QString::fromUtf8(kCopyProgressTitle));
    setWindowModality(parent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Wide enough that a window frame shows the whole title.
    setMinimumWidth(560);

    QPalette background = palette();
    background.setColor(QPalette::Window, kFormBackground);
    setPalette(background);
    setAutoFillBackground(true);

    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // the total is not known before the copy ends
    bar->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setLabel_);
    layout->addWidget(bar);
    layout->addWidget(progressLabel_);
    layout->addLayout(buttons);

    // Enter must not stop a backup by accident; Abbrechen takes a click or Esc.
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::cancel);
}

ProgressWindow::~ProgressWindow() = default;

RunReport ProgressWindow::run(const QString& setName, const Job& job) {
    const std::uint64_t generation = ++generation_;
    cancelRequested_ = false;
    workerEnded_ = false;
    running_ = true;
    setLabel_->setText(QStringLiteral("Sicherung '%1' wird durchgeführt …").arg(setName));
    progressLabel_->setText(progressText(0, 0));
    cancelButton_->setEnabled(true);

    Observer observer(*this, cancelRequested_);
    bool success = false;
    std::thread worker([&, generation] {
        success = job(observer);
        observer.flush();
        QMetaObject::invokeMethod(
            this, [this, generation] { workerEnded(generation); }, Qt::QueuedConnection);
    });
    exec();
    // The event loop can end before the worker, when the program quits during the run: the
    // copy is asked to stop so the join below is short.
    if (!workerEnded_) cancelRequested_ = true;
    worker.join();
    running_ = false;

    RunReport report;
    report.success = success;
    report.successMessage = QString::fromStdString(observer.successMessage);
    report.failureMessage = QString::fromStdString(observer.failureMessage);
    report.logFailureMessage = QString::fromStdString(observer.logFailureMessage);
    return report;
}

void ProgressWindow::cancel() {
    if (!running_ || workerEnded_ || cancelRequested_) return;
    cancelRequested_ = true;
    cancelButton_->setEnabled(false);
    setLabel_->setText(QStringLiteral("Die Sicherung wird abgebrochen …"));
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (running_ && !workerEnded_) {
        // The window stays until the worker has stopped; it then closes itself.
        cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ProgressWindow::reject() {
    if (running_ && !workerEnded_) {
        cancel();
        return;
    }
    QDialog::reject();
}

void ProgressWindow::showProgress(std::uint64_t files, std::uint64_t bytes) {
    progressLabel_->setText(progressText(files, bytes));
}

void ProgressWindow::showScheduledRun(const QString& setName) {
    setLabel_->setText(QStringLiteral("Sicherung '%1' wird durchgeführt …").arg(setName));
    progressLabel_->setText(progressText(0, 0));
    cancelButton_->hide();
    // A backup that starts by its clock must not take the keyboard from what the user is doing.
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
}

void ProgressWindow::scheduledRunEnded() {
    hide();
}

void ProgressWindow::workerEnded(std::uint64_t generation) {
    // A worker of an earlier run whose window loop had already ended must not close this one.
    if (generation != generation_) return;
    workerEnded_ = true;
    accept();
}

}  // namespace vaultrix
