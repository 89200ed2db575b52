// What the main page and the log page do, and the page changes the editor asks for.
#include <QCollator>
#include <QListWidget>
#include <QLocale>
#include <QScrollBar>
#include <QTextEdit>
#include <algorithm>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/Pages.h"
#include "engine/SetDetails.h"
#include "shell/MessagePresenter.h"
#include "shell/ProgressWindow.h"
#include "shell/ShortText.h"
#include "shell/Style.h"

namespace vaultrix {

namespace {

// The log page shows a larger log only from its end: the text box takes a second to lay out
// about four megabytes.
constexpr std::uintmax_t kShownLogBytes = 2u << 20;

}  // namespace

void Form1::loadSetNames() {
    const SetNames stored = app_.sets().loadSetNames();
    QStringList names;
    for (const std::string& name : stored.names) names << QString::fromStdString(name);
    // A sorted list box orders its entries alphabetically without regard to case.
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    ui_.lb_anzeige->clear();
    ui_.lb_anzeige->addItems(names);
    // The number of names listed, so a count in the file that disagrees with its names never
    // offers commands for sets that are not there.
    setCounter = static_cast<int>(names.size());
    if (ui_.lb_anzeige->count() > 0) ui_.lb_anzeige->setCurrentRow(0);
}

void Form1::ShowSetDetails(const QString& name) {
    shownSetName_ = name;
    const SetDetailsTexts texts = setDetailsTexts(app_.sets(), name.toStdString());
    ui_.rtb_anzeige->setPlainText(shortLines(QString::fromStdString(texts.text)));
    ui_.rtb_anzeige->moveCursor(QTextCursor::End);
    ui_.rtb_anzeige->ensureCursorVisible();
    // A drive or share that does not answer would hold the window up: the paths are tested on
    // another thread, and the warning follows when the answer comes.
    detailPaths_ = texts.paths;
    detailsTicket_ = detailsProbe_.request(texts.paths);
}

void Form1::takeDetailsAnswer(quint64 ticket, const std::vector<bool>& reachable) {
    // An answer about details no longer on show is dropped.
    if (ticket != detailsTicket_ || closing_) return;
    detailsTicket_ = 0;
    const std::string message =
        missingPathsMessage(shownSetName_.toStdString(), detailPaths_, reachable);
    if (!message.empty()) showError(QString::fromStdString(message));
}

void Form1::ShowSelectedSetDetails() {
    const QListWidgetItem* selected = ui_.lb_anzeige->currentItem();
    if (selected != nullptr && !selected->text().isEmpty()) ShowSetDetails(selected->text());
}

void Form1::StartSelectedSet() {
    const QString name = selectedSetName();
    if (name.isEmpty() || manualRun_ != nullptr) return;
    ProgressWindow window(this);
    manualRun_ = &window;
    const RunReport report = window.run(app_.runner(), name.toStdString());
    manualRun_ = nullptr;
    // A run cut short by closing the program tells nothing more.
    if (closing_) return;
    if (report.success) {
        app_.outside().messages.show(messageOwner(), QMessageBox::Information,
                                     titled(QStringLiteral("Information")), report.successMessage,
                                     QMessageBox::Ok);
    } else {
        showError(report.failureMessage);
    }
    if (!report.logFailureMessage.isEmpty()) showError(report.logFailureMessage);
}

void Form1::ShowLog() {
    hidePage(Page::MainMenuPage);
    LoadLogText();
    showPage(Page::LogPage);
    // From its top, where a shortened log says so; scrolled only now that the box has its size.
    ui_.rtb_anzeige->verticalScrollBar()->setValue(0);
}

void Form1::LoadLogText() {
    const LogText log = app_.log().LoadLogEnd(kShownLogBytes);
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

void Form1::DeleteLog() {
    const QMessageBox::StandardButton answer = app_.outside().messages.show(
        messageOwner(), QMessageBox::Warning, titled(QStringLiteral("Log Datei löschen?")),
        QStringLiteral("Möchten Sie die Log Datei\nwirklich löschen?"),
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok) return;
    if (const Result<> deleted = app_.log().DeleteLog(); !deleted) {
        // The log is still there, so it stays on show.
        showError(QString::fromStdString(deleted.error().message));
        return;
    }
    ui_.rtb_anzeige->clear();
}

void Form1::CloseLog() {
    ui_.rtb_anzeige->clear();
    hidePage(Page::LogPage);
    ui_.lb_anzeige->setFocus();
    // The main page shows the selected set's details as it opens.
    showPage(Page::MainMenuPage);
}

void Form1::leaveMainPage() {
    hidePage(Page::MainMenuPage);
}

void Form1::openEditorPage() {
    showPage(Page::EditorPage);
}

void Form1::leaveEditorPage() {
    hidePage(Page::EditorPage);
}

void Form1::openMainPage() {
    ui_.lb_anzeige->setFocus();
    // The main page shows the selected set's details as it opens.
    showPage(Page::MainMenuPage);
}

QString Form1::selectedSetName() const {
    return shownSetName_;
}

void Form1::showFirstSet() {
    ui_.rtb_anzeige->clear();
    shownSetName_.clear();
    detailsTicket_ = 0;
    if (ui_.lb_anzeige->count() > 0) ui_.lb_anzeige->setCurrentRow(0);
    ui_.lb_anzeige->setFocus();
    ShowSelectedSetDetails();
}

}  // namespace vaultrix
