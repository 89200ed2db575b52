// Which handler runs for which event of the main window: one table, grouped by source.
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/LogPage.h"
#include "app/MainMenuPage.h"
#include "editor/SetEditor.h"
#include "shell/PictureBox.h"
#include "shell/ProgressWindow.h"
#include "shell/WSysTray.h"

namespace vaultrix {

void Form1::bindPicture(PictureBox* picture, const PictureBitmaps& bitmaps, const bool* state,
                        ReleaseOrder order, std::function<void()> command) {
    picture->setStateFlag(state);
    picture->setBitmaps(bitmaps);
    picture->setReleaseOrder(order);
    picture->setCommand(std::move(command));
    connect(picture, &PictureBox::clickSoundDue, this, &Form1::playClickSound);
    connect(picture, &PictureBox::hoverSoundDue, this, &Form1::playHoverSound);
}

void Form1::bindEvents() {
    using enum ReleaseOrder;
    SetEditor* editor = editor_.get();
    FolderTree* tree = &editor_->tree();
    MainMenuPage* mainPage = mainPage_.get();
    LogPage* logPage = logPage_.get();
    WindowBridge* bridge = &app_.bridge();

    // The window: mouse movement over the background lets the next picture button sound again.
    centralWidget()->setMouseTracking(true);
    centralWidget()->installEventFilter(this);

    // The menu bar and the popups; the tray's "Anzeigen" and "Beenden" belong to the tray icon.
    connect(findCommand(menuBar(), kCommandIntroduction), &QAction::triggered, this,
            &Form1::openTutorialPage);
    connect(findCommand(menuBar(), kCommandQuit), &QAction::triggered, this, &Form1::close);
    connect(findCommand(menuBar(), kCommandSettings), &QAction::triggered, this,
            &Form1::openSettings);
    connect(findCommand(menuBar(), kCommandTutorial), &QAction::triggered, this,
            &Form1::openTutorialPage);
    connect(findCommand(menuBar(), kCommandHelp), &QAction::triggered, this, &Form1::openHelp);
    connect(findCommand(menuBar(), kCommandAbout), &QAction::triggered, this, &Form1::openAbout);
    connect(findCommand(popups_.popup, kTrayCommandSettings), &QAction::triggered, this,
            &Form1::openSettings);
    connect(findCommand(popups_.popup, kTrayCommandMinimise), &QAction::triggered, this, [this] {
        if (tray_ != nullptr) tray_->hideOwner();
    });
    QAction* createFolder = findCommand(popups_.popup_ordner, kFolderCommandCreateFolder);
    connect(createFolder, &QAction::triggered, this, &Form1::handOverPath);
    connect(popups_.popup_ordner, &QMenu::aboutToShow, this,
            [this, createFolder] { createFolder->setEnabled(!ui_.textb_nach->text().isEmpty()); });
    // The accelerators work wherever the focus is: a text field would otherwise keep Ctrl+E
    // and Ctrl+Z for itself, as "end of line" and "undo" (Form1::eventFilter).
    for (QWidget* control : centralWidget()->findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }

    // The controls.
    connect(ui_.tv_dir, &QTreeWidget::itemExpanded, tree, &FolderTree::ExpandItem);
    connect(ui_.tv_dir, &QTreeWidget::currentItemChanged, editor, &SetEditor::OnTreeSelection);
    connect(ui_.cb_speichern, &QPushButton::clicked, editor, &SetEditor::SaveSet);
    // The day list dropping down (Form1::eventFilter); picking a day without it counts for
    // nothing.
    ui_.combo_tag->view()->window()->installEventFilter(this);
    connect(ui_.mtextb_uhr, &QLineEdit::textChanged, editor, &SetEditor::UpdateSaveState);
    connect(ui_.cb_starten, &QPushButton::clicked, mainPage, &MainMenuPage::StartSelectedSet);
    connect(ui_.cb_verwerfen, &QPushButton::clicked, editor, &SetEditor::DiscardSet);
    connect(ui_.cb_bearbeiten, &QPushButton::clicked, editor, &SetEditor::BeginEditSet);
    connect(ui_.cb_anlegen, &QPushButton::clicked, editor, &SetEditor::BeginNewSet);
    connect(ui_.textb_name_der_sicherung, &QLineEdit::textChanged, editor,
            &SetEditor::UpdateSaveState);
    connect(ui_.cb_lade_pfad_von, &QPushButton::clicked, editor, &SetEditor::AddSource);
    connect(ui_.cb_loesche_pfad_von, &QPushButton::clicked, editor,
            &SetEditor::RemoveMarkedSources);
    connect(ui_.cb_lade_pfad_nach, &QPushButton::clicked, editor, &SetEditor::TakeDestination);
    connect(ui_.cb_loesche_alles_von, &QPushButton::clicked, editor, &SetEditor::RemoveAllSources);
    connect(ui_.textb_nach, &QLineEdit::textChanged, editor, &SetEditor::UpdateSaveState);
    // A right click on the destination opens its popup.
    ui_.textb_nach->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_.textb_nach, &QLineEdit::customContextMenuRequested, this, [this](const QPoint& at) {
        popups_.popup_ordner->exec(ui_.textb_nach->mapToGlobal(at));
    });
    connect(ui_.cb_loeschen, &QPushButton::clicked, editor, &SetEditor::DeleteSelectedSet);
    connect(ui_.cb_beenden, &QPushButton::clicked, this, &Form1::close);
    connect(ui_.cb_log_anzeigen, &QPushButton::clicked, logPage, &LogPage::ShowLog);
    connect(ui_.cb_log_loeschen, &QPushButton::clicked, logPage, &LogPage::DeleteLog);
    connect(ui_.cb_log_schliessen, &QPushButton::clicked, logPage, &LogPage::CloseLog);
    // Through the tree thread as well: the window thread never lists.
    connect(ui_.cb_tv_aktuell, &QPushButton::clicked, tree, &FolderTree::FillFolderTree);
    connect(ui_.checkbox_aktiv, &QCheckBox::clicked, editor, &SetEditor::UpdateSaveState);
    connect(ui_.cb_1, &QPushButton::clicked, this,
            [this] { app_.slots().PauseSlot(ThreadSlots::kBackupSlot); });
    connect(ui_.cb_2, &QPushButton::clicked, this,
            [this] { app_.slots().ResumeSlot(ThreadSlots::kBackupSlot); });
    // A left release over the list shows the set that is selected now, and so does a key
    // that moved the selection; other buttons do not select (MainMenuPage::eventFilter).
    ui_.lb_anzeige->viewport()->installEventFilter(mainPage);
    ui_.lb_anzeige->installEventFilter(mainPage);

    // The picture buttons.
    bindPicture(ui_.pictb_quelle, {100, 101, 136}, &sourceState, commandFirst,
                [editor] { editor->AddSource(); });
    bindPicture(ui_.pictb_ziel, {106, 107, 135}, &targetState, commandFirst,
                [editor] { editor->TakeDestination(); });
    bindPicture(ui_.pictb_quelle_loeschen, {102, 103, 0}, nullptr, commandFirst,
                [editor] { editor->RemoveMarkedSources(); });
    bindPicture(ui_.pictb_quelle_aloeschen, {104, 105, 0}, nullptr, commandFirst,
                [editor] { editor->RemoveAllSources(); });
    bindPicture(ui_.pictb_sicherung_speichern, {108, 109, 110}, &saveState, captureFirst,
                [editor] { editor->SaveSet(); });
    ui_.pictb_sicherung_speichern->setSilentWhileInactive(true);
    bindPicture(ui_.pictb_sicherung_verwerfen, {112, 111, 0}, nullptr, captureFirst,
                [editor] { editor->DiscardSet(); });
    bindPicture(ui_.pictb_tv_aktuell, {114, 115, 0}, nullptr, commandFirst,
                [tree] { tree->refresh(); });
    bindPicture(ui_.pictb_anlegen, {116, 117, 0}, nullptr, captureFirst,
                [editor] { editor->BeginNewSet(); });
    ui_.pictb_anlegen->setFollowUp([this] {
        setSourcePicture(false);
        setTargetPicture(false);
    });
    bindPicture(ui_.pictb_bearbeiten, {118, 119, 120}, &commandState, commandFirst,
                [editor] { editor->BeginEditSet(); });
    ui_.pictb_bearbeiten->setFollowUp([this] {
        setSavePicture(false);
        setSourcePicture(false);
        setTargetPicture(false);
    });
    bindPicture(ui_.pictb_loeschen, {121, 122, 123}, &commandState, restoreFirst,
                [editor] { editor->DeleteSelectedSet(); });
    ui_.pictb_loeschen->setFollowUp([this] { setCommandPictures(); });
    bindPicture(ui_.pictb_starten, {124, 125, 126}, &commandState, commandFirst,
                [mainPage] { mainPage->StartSelectedSet(); });
    bindPicture(ui_.pictb_log_anzeigen, {127, 128, 0}, nullptr, captureFirst,
                [logPage] { logPage->ShowLog(); });
    bindPicture(ui_.pictb_beenden, {129, 130, 0}, nullptr, commandFirst, [this] { close(); });
    bindPicture(ui_.pictb_log_loeschen, {131, 132, 0}, nullptr, commandFirst,
                [logPage] { logPage->DeleteLog(); });
    bindPicture(ui_.pictb_log_schliessen, {133, 134, 0}, nullptr, captureFirst,
                [logPage] { logPage->CloseLog(); });

    // The background threads' reports.
    connect(bridge, &WindowBridge::clockTextChanged, ui_.label_datum_zeit, &QLabel::setText);
    connect(bridge, &WindowBridge::statusChanged, this,
            [this](const QString& caption) { setWindowTitle(caption); });
    connect(bridge, &WindowBridge::scheduledRunStarted, scheduledRun_,
            &ProgressWindow::showScheduledRun);
    connect(bridge, &WindowBridge::scheduledRunProgress, scheduledRun_,
            &ProgressWindow::showProgress);
    connect(bridge, &WindowBridge::scheduledRunCounted, scheduledRun_, &ProgressWindow::showTotal);
    connect(bridge, &WindowBridge::scheduledRunEnded, scheduledRun_,
            &ProgressWindow::scheduledRunEnded);
    const auto showError = [this](const QString& text) { messages_.showError(text); };
    connect(bridge, &WindowBridge::scheduledRunFailed, this, showError);
    connect(bridge, &WindowBridge::scheduledLogFailed, this, showError);
    connect(bridge, &WindowBridge::treePieceListed, tree, &FolderTree::takePiece);
    connect(bridge, &WindowBridge::detailsPathsTested, mainPage, &MainMenuPage::takeDetailsAnswer);
}

}  // namespace vaultrix
