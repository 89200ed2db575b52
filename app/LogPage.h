#pragma once

#include <QObject>

class QListWidget;
class QTextEdit;

namespace vaultrix {

class PageChanges;
class RunLog;
class WindowMessages;

// The log page's controls.
struct LogPageControls {
    QTextEdit* rtb_anzeige;   // shows the log
    QListWidget* lb_anzeige;  // the main page's set list, focused when the log page closes
};

// The log page: the run log as text, shortened to its end when it is large, and its deletion.
class LogPage final : public QObject {
    Q_OBJECT

public:
    LogPage(const LogPageControls& controls, PageChanges& pages, RunLog& log,
            const WindowMessages& messages);

    // Closes the main page and opens this one with the log.
    void ShowLog();
    void LoadLogText();
    // Deletes the log once the user confirms it.
    void DeleteLog();
    // Closes this page and opens the main page again.
    void CloseLog();

private:
    LogPageControls ui_;
    PageChanges& pages_;
    RunLog& log_;
    const WindowMessages& messages_;
};

}  // namespace vaultrix
