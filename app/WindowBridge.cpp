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

void WindowBridge::onProgress(const CopyProgress&) {}

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

}  // namespace vaultrix
