#include "app/WindowBridge.h"

#include "shell/Style.h"

namespace vaultrix {

WindowBridge::WindowBridge(QObject* parent) : QObject(parent) {}

void WindowBridge::showClock(const std::string& text) {
    Q_EMIT clockTextChanged(QString::fromStdString(text));
}

void WindowBridge::showStatus(const StatusText& status) {
    Q_EMIT statusChanged(titled(QString::fromStdString(status.oneLine)),
                         QString::fromStdString(status.multiLine));
}

void WindowBridge::onRunStarted(const std::string& name) {
    progress_ = RunProgress();
    Q_EMIT scheduledRunStarted(QString::fromStdString(name));
}

void WindowBridge::onRunEnded() {
    if (const auto last = progress_.last())
        Q_EMIT scheduledRunProgress(last->filesDone, last->bytesDone);
    Q_EMIT scheduledRunEnded();
}

void WindowBridge::onTotalCounted(const CopyProgress& total) {
    Q_EMIT scheduledRunCounted(total.filesDone, total.bytesDone);
}

void WindowBridge::onProgress(const CopyProgress& progress) {
    if (const auto shown = progress_.add(progress)) {
        Q_EMIT scheduledRunProgress(shown->filesDone, shown->bytesDone);
    }
}

bool WindowBridge::cancelRequested() {
    return false;
}

void WindowBridge::onRunSucceeded(const std::string&) {}

void WindowBridge::onRunFailed(const std::string& message) {
    Q_EMIT scheduledRunFailed(QString::fromStdString(message));
}

void WindowBridge::onLogFailed(const std::string& message) {
    Q_EMIT scheduledLogFailed(QString::fromStdString(message));
}

void WindowBridge::deliverTreePiece(TreePiece piece) {
    // A queued call carries the piece across as it is; the signal goes out on the window thread.
    QMetaObject::invokeMethod(
        this, [this, piece = std::move(piece)] { Q_EMIT treePieceListed(piece); },
        Qt::QueuedConnection);
}

void WindowBridge::deliverDetailsPaths(std::uint64_t ticket, std::vector<bool> reachable) {
    QMetaObject::invokeMethod(
        this,
        [this, ticket, reachable = std::move(reachable)] {
            Q_EMIT detailsPathsTested(ticket, reachable);
        },
        Qt::QueuedConnection);
}

}  // namespace vaultrix
