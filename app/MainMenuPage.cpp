// The main page: the set list, the details of the set picked in it, and its run by hand.
#include "app/MainMenuPage.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTextEdit>
#include <algorithm>

#include "engine/SetDetails.h"
#include "shell/ListOrder.h"
#include "shell/MessagePresenter.h"
#include "shell/ProgressWindow.h"
#include "shell/ShortText.h"

namespace vaultrix {

MainMenuPage::MainMenuPage(const MainMenuPageControls& controls, QWidget& window,
                           const WindowMessages& messages, const MainMenuPageServices& services)
    : ui_(controls),
      window_(window),
      messages_(messages),
      sets_(services.sets),
      runner_(services.runner),
      detailsProbe_(services.pathExists, services.deliverDetails) {}

void MainMenuPage::loadSetNames() {
    const SetNames stored = sets_.loadSetNames();
    QStringList names;
    for (const std::string& name : stored.names) names << QString::fromStdString(name);
    std::stable_sort(names.begin(), names.end(), ListOrder());
    ui_.lb_anzeige->clear();
    ui_.lb_anzeige->addItems(names);
    setCounter = static_cast<int>(names.size());
    if (ui_.lb_anzeige->count() > 0) ui_.lb_anzeige->setCurrentRow(0);
}

void MainMenuPage::ShowSetDetails(const QString& name) {
    shownSetName_ = name;
    const SetDetailsTexts texts = setDetailsTexts(sets_, name.toStdString());
    ui_.rtb_anzeige->setPlainText(shortLines(QString::fromStdString(texts.text)));
    ui_.rtb_anzeige->moveCursor(QTextCursor::End);
    ui_.rtb_anzeige->ensureCursorVisible();
    // A drive or share that does not answer would hold the window up: the paths are tested on
    // another thread, and the warning follows when the answer comes.
    detailPaths_ = texts.paths;
    detailsTicket_ = detailsProbe_.request(texts.paths);
}

void MainMenuPage::takeDetailsAnswer(quint64 ticket, const std::vector<bool>& reachable) {
    // An answer about details no longer on show is dropped.
    if (ticket != detailsTicket_ || closing_) return;
    detailsTicket_ = 0;
    const std::string message =
        missingPathsMessage(shownSetName_.toStdString(), detailPaths_, reachable);
    if (!message.empty()) messages_.showError(QString::fromStdString(message));
}

void MainMenuPage::ShowSelectedSetDetails() {
    const QListWidgetItem* selected = ui_.lb_anzeige->currentItem();
    if (selected != nullptr && !selected->text().isEmpty()) ShowSetDetails(selected->text());
}

void MainMenuPage::StartSelectedSet() {
    const QString name = selectedSetName();
    if (name.isEmpty() || manualRun_ != nullptr) return;
    ProgressWindow window(&window_);
    manualRun_ = &window;
    const RunReport report = window.run(runner_, name.toStdString());
    manualRun_ = nullptr;
    // A run cut short by closing the program tells nothing more.
    if (closing_) return;
    if (report.success) {
        messages_.showInformation(report.successMessage);
    } else {
        messages_.showError(report.failureMessage);
    }
    if (!report.logFailureMessage.isEmpty()) messages_.showError(report.logFailureMessage);
}

void MainMenuPage::showFirstSet() {
    ui_.rtb_anzeige->clear();
    shownSetName_.clear();
    detailsTicket_ = 0;
    if (ui_.lb_anzeige->count() > 0) ui_.lb_anzeige->setCurrentRow(0);
    ui_.lb_anzeige->setFocus();
    ShowSelectedSetDetails();
}

void MainMenuPage::closeDown() {
    closing_ = true;
    if (manualRun_ != nullptr) manualRun_->cancel();
}

bool MainMenuPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.lb_anzeige->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                                  event->type() == QEvent::MouseButtonDblClick ||
                                                  event->type() == QEvent::MouseButtonRelease)) {
        // Only the left button picks a set, and its release shows it; another button leaves
        // the selection where it is, so the details never show another set than the one
        // highlighted.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return true;
        if (event->type() == QEvent::MouseButtonRelease) ShowSelectedSetDetails();
    } else if (watched == ui_.lb_anzeige && event->type() == QEvent::KeyRelease &&
               ui_.lb_anzeige->currentItem() != nullptr &&
               ui_.lb_anzeige->currentItem()->text() != shownSetName_) {
        // A key that moved the selection shows the set it moved to, as a click does.
        ShowSelectedSetDetails();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vaultrix
