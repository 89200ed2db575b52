#include "shell/ProgressWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/CopyToFolder.h"
#include "shell/ShortText.h"
#include "shell/Style.h"

namespace vaultrix {

namespace {

constexpr std::chrono::milliseconds kProgressInterval{100};
constexpr std::chrono::seconds kTimeLeftRefresh{1};
// The bar's steps once the total is known: a tenth of a percent each, so a long run moves.
constexpr int kBarSteps = 1000;

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

// The share done, 0 to 1: of the bytes, or of the files where the total has no bytes. Sources
// that grew since they were counted can take the numbers past the total.
double shareDone(const CopyProgress& done, const CopyProgress& total) {
    if (total.bytesDone > 0) return std::min(1.0, double(done.bytesDone) / double(total.bytesDone));
    if (total.filesDone > 0) return std::min(1.0, double(done.filesDone) / double(total.filesDone));
    return 1.0;
}

}  // namespace

QString progressText(std::uint64_t files, std::uint64_t bytes) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString count = files == 1
                              ? QStringLiteral("1 Datei")
                              : german.toString(qulonglong(files)) + QStringLiteral(" Dateien");
    return QStringLiteral("%1, %2 kopiert").arg(count, sizeText(bytes, german));
}

QString countedProgressText(const CopyProgress& done, const CopyProgress& total) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const int percent = static_cast<int>(shareDone(done, total) * 100.0);
    const QString numbers =
        total.bytesDone > 0
            ? QStringLiteral("%1 von %2")
                  .arg(sizeText(done.bytesDone, german), sizeText(total.bytesDone, german))
            : QStringLiteral("%1 von %2 Dateien")
                  .arg(german.toString(qulonglong(done.filesDone)),
                       german.toString(qulonglong(total.filesDone)));
    return QStringLiteral("%1 % – %2 kopiert").arg(german.toString(percent), numbers);
}

QString timeLeftText(std::optional<std::chrono::seconds> left) {
    if (!left) return QStringLiteral("Restzeit wird ermittelt …");
    if (*left < std::chrono::minutes(1)) return QStringLiteral("noch weniger als eine Minute");
    // To the nearest minute: 90 seconds are about 2 minutes.
    const auto minutes = (*left + std::chrono::seconds(30)) / std::chrono::minutes(1);
    if (minutes == 1) return QStringLiteral("noch etwa 1 Minute");
    const QLocale german(QLocale::German, QLocale::Germany);
    return QStringLiteral("noch etwa %1 Minuten").arg(german.toString(qlonglong(minutes)));
}

std::optional<CopyProgress> RunProgress::add(const CopyProgress& progress) {
    latest_ = progress;
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

    void onTotalCounted(const CopyProgress& total) override {
        ProgressWindow* window = &window_;
        QMetaObject::invokeMethod(
            window, [window, total] { window->showTotal(total.filesDone, total.bytesDone); },
            Qt::QueuedConnection);
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
      bar_(new QProgressBar(this)),
      progressLabel_(new QLabel(this)),
      timeLabel_(new QLabel(this)),
      cancelButton_(new QPushButton(QStringLiteral("Abbrechen"), this)),
      refresh_(new QTimer(this)) {
    setWindowTitle(QString::fromUtf8(kCopyProgressTitle));
    setWindowModality(parent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // Wide enough that a window frame shows the whole title.
    setMinimumWidth(560);

    QPalette background = palette();
    background.setColor(QPalette::Window, kFormBackground);
    setPalette(background);
    setAutoFillBackground(true);

    // The percentage stands in the line below the bar, where every style shows it alike.
    bar_->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setLabel_);
    layout->addWidget(bar_);
    layout->addWidget(progressLabel_);
    layout->addWidget(timeLabel_);
    layout->addLayout(buttons);

    // Enter must not stop a backup by accident; Abbrechen takes a click or Esc.
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::cancel);

    refresh_->setInterval(kTimeLeftRefresh);
    connect(refresh_, &QTimer::timeout, this, &ProgressWindow::showNumbers);
    startShowing(QString());
}

ProgressWindow::~ProgressWindow() = default;

RunReport ProgressWindow::run(const QString& setName, const Job& job) {
    const std::uint64_t generation = ++generation_;
    cancelRequested_ = false;
    workerEnded_ = false;
    running_ = true;
    startShowing(setName);
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

void ProgressWindow::startShowing(const QString& setName) {
    setLabel_->setText(
        shortLines(QStringLiteral("Sicherung '%1' wird durchgeführt …").arg(setName)));
    done_ = CopyProgress{};
    total_.reset();
    estimate_.restart();
    refresh_->stop();
    bar_->setRange(0, 0);  // no end until the total is known
    showNumbers();
}

void ProgressWindow::showProgress(std::uint64_t files, std::uint64_t bytes) {
    done_ = CopyProgress{files, bytes};
    estimate_.add(bytes);
    showNumbers();
}

void ProgressWindow::showTotal(std::uint64_t files, std::uint64_t bytes) {
    total_ = CopyProgress{files, bytes};
    bar_->setRange(0, kBarSteps);
    refresh_->start();
    showNumbers();
}

void ProgressWindow::showNumbers() {
    if (!total_) {
        progressLabel_->setText(progressText(done_.filesDone, done_.bytesDone));
        timeLabel_->setText(timeLeftText(std::nullopt));
        return;
    }
    bar_->setValue(static_cast<int>(shareDone(done_, *total_) * kBarSteps));
    progressLabel_->setText(countedProgressText(done_, *total_));
    timeLabel_->setText(timeLeftText(estimate_.timeLeft(total_->bytesDone)));
}

void ProgressWindow::showScheduledRun(const QString& setName) {
    startShowing(setName);
    cancelButton_->hide();
    // A backup that starts by its clock must not take the keyboard from what the user is doing.
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
}

void ProgressWindow::scheduledRunEnded() {
    refresh_->stop();
    hide();
}

void ProgressWindow::workerEnded(std::uint64_t generation) {
    // A worker of an earlier run whose window loop had already ended must not close this one.
    if (generation != generation_) return;
    workerEnded_ = true;
    refresh_->stop();
    accept();
}

}  // namespace vaultrix
