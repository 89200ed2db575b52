#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/BackgroundThreads.h"
#include "engine/BackupRunner.h"
#include "engine/TreeListing.h"
#include "shell/ProgressWindow.h"

namespace vaultrix {

// Carries what the background threads report to the window thread. It lives on the window
// thread; the threads call it through WindowSink and RunObserver and it answers with signals,
// which Qt delivers queued to receivers on the window thread, so no background thread touches
// a widget or waits for the window.
//
// The threads that call it must be stopped before it is destroyed.
class WindowBridge final : public QObject, public WindowSink, public RunObserver, public TreeSink {
    Q_OBJECT

public:
    explicit WindowBridge(QObject* parent = nullptr);

    // WindowSink
    void showClock(const std::string& text) override;
    void showStatus(const StatusText& status) override;

    // RunObserver for scheduled runs: the progress window follows the run, and only failures
    // (of a copy or of the log) come as messages. The backup thread checks its own stop request,
    // so this never asks a copy to stop.
    void onRunStarted(const std::string& name) override;
    void onRunEnded() override;
    void onTotalCounted(const CopyProgress& total) override;
    void onProgress(const CopyProgress& progress) override;
    bool cancelRequested() override;
    void onRunSucceeded(const std::string& message) override;
    void onRunFailed(const std::string& message) override;
    void onLogFailed(const std::string& message) override;

    // TreeSink: the tree thread's listings, emitted on the window thread.
    void deliverTreePiece(TreePiece piece) override;
    // The answer about the paths of a set's details (PathProbe), emitted on the window thread.
    void deliverDetailsPaths(std::uint64_t ticket, std::vector<bool> reachable);

Q_SIGNALS:
    void clockTextChanged(const QString& text);
    // caption: "Vaultrix 1.0 - " and the one-line countdown; tooltip: the multi-line form.
    void statusChanged(const QString& caption, const QString& tooltip);
    void scheduledRunStarted(const QString& setName);
    void scheduledRunProgress(quint64 files, quint64 bytes);
    void scheduledRunCounted(quint64 files, quint64 bytes);
    void scheduledRunEnded();
    void scheduledRunFailed(const QString& message);
    void scheduledLogFailed(const QString& message);
    void treePieceListed(const vaultrix::TreePiece& piece);
    void detailsPathsTested(quint64 ticket, const std::vector<bool>& reachable);

private:
    // Used only by the backup thread, one run at a time.
    RunProgress progress_;
};

}  // namespace vaultrix
