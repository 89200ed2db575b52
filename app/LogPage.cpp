// The log page: the log shown, deleted and closed.
#include "app/LogPage.h"

#include <QListWidget>
#include <QLocale>
#include <QScrollBar>
#include <QTextEdit>

#include "app/Pages.h"
#include "engine/RunLog.h"
#include "shell/MessagePresenter.h"

namespace vaultrix {
namespace {

// The log page shows a larger log only from its end: the text box takes a second to lay out
// about four megabytes.
constexpr std::uintmax_t kShownLogBytes = 2u << 20;

}  // namespace

LogPage::LogPage(const LogPageControls& controls, PageChanges& pages, RunLog& log,
                 const WindowMessages& messages)
    : ui_(controls), pages_(pages), log_(log), messages_(messages) {}

void LogPage::ShowLog() {
    pages_.hidePage(Page::MainMenuPage);
    LoadLogText();
    pages_.showPage(Page::LogPage);
    // From its top, where a shortened log says so; scrolled only now that the box has its size.
    ui_.rtb_anzeige->verticalScrollBar()->setValue(0);
}

void LogPage::LoadLogText() {
    const LogText log = log_.LoadLogEnd(kShownLogBytes);
    QString text = QString::fromStdString(log.text);
    if (log.shortened) {
        const QLocale german(QLocale::German, QLocale::Germany);
        const auto megabytes = [&german](std::uintmax_t bytes) {
            return german.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1) +
                   QStringLiteral(" MB");
        };
        text.prepend(QStringLiteral("Die Log Datei ist %1 groß. Angezeigt werden nur ihre "
                                    "letzten %2.\n\n")
                         .arg(megabytes(log.fileSize), megabytes(kShownLogBytes)));
    }
    ui_.rtb_anzeige->setPlainText(text);
    ui_.rtb_anzeige->moveCursor(QTextCursor::Start);
}

void LogPage::DeleteLog() {
    if (!messages_.confirm(QStringLiteral("Log Datei löschen?"),
                           QStringLiteral("Möchten Sie die Log Datei\nwirklich löschen?"))) {
        return;
    }
    if (const Result<> deleted = log_.DeleteLog(); !deleted) {
        // The log is still there, so it stays on show.
        messages_.showError(QString::fromStdString(deleted.error().message));
        return;
    }
    ui_.rtb_anzeige->clear();
}

void LogPage::CloseLog() {
    ui_.rtb_anzeige->clear();
    pages_.hidePage(Page::LogPage);
    ui_.lb_anzeige->setFocus();
    // The main page shows the selected set's details as it opens.
    pages_.showPage(Page::MainMenuPage);
}

}  // namespace vaultrix
