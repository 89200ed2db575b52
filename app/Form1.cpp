#include "app/Form1.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QWindow>

#include "app/AppServices.h"
#include "app/Pages.h"
#include "app/Placement.h"
#include "editor/Form5.h"
#include "editor/SetEditor.h"
#include "platform/FolderListing.h"
#include "shell/MessagePresenter.h"
#include "shell/ProgressWindow.h"
#include "shell/SoundPlayer.h"
#include "shell/Style.h"

namespace vaultrix {

Form1::Form1(AppServices& app) : app_(app), scheduledRun_(new ProgressWindow(this)) {
    // The window starts hidden; the create handler decides whether it is shown.
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName));
    // A border with a caption, the system menu and the minimise box: the window has one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    editor_ = std::make_unique<SetEditor>(
        EditorControls{ui_.tv_dir, ui_.textb_name_der_sicherung, ui_.lb_von, ui_.textb_nach,
                       ui_.combo_tag, ui_.mtextb_uhr, ui_.checkbox_aktiv, ui_.cb_speichern},
        static_cast<EditorWindow&>(*this),
        EditorServices{app_.sets, app_.log, app_.scheduler, app_.slots, app_.bridge,
                       app_.services.messages,
                       app_.services.volumeRoots ? app_.services.volumeRoots : fs::volumeRoots});
    form5_ = new Form5(app_.settings, app_.services.messages, this);
    bindFormEvents();
    bindMenuCommands();
    bindControls();
    bindPictureButtons();
    bindThreadReports();
}

Form1::~Form1() = default;

bool Form1::create() {
    setWindowIcon(QIcon(QStringLiteral(":/icons/100.png")));
    resetHoverSound();
    applyAnimationSetting();
    collapseAll();
    setCounter = 0;
    const WindowPlacement placement = placementFor(app_.services.workArea());
    if (placement.tooNarrow) return false;
    placeWindow(placement.rect);
    if (!app_.settings.startHidden()) showNormal();
    loadSetNames();
    app_.scheduler.LoadScheduleTable(app_.sets);
    app_.startThreads();
    showPage(Page::MainMenuPage);
    return true;
}

void Form1::placeWindow(const QRect& frame) {
    placedFrame_ = frame;
    // The native window, so the window system can tell how thick its frame is.
    winId();
    windowHandle()->installEventFilter(this);
    fitToFrame();
    // A window's position is that of its frame.
    move(frame.topLeft());
}

void Form1::fitToFrame() {
    const QSize client = placedFrame_.size().shrunkBy(windowHandle()->frameMargins());
    if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
}

void Form1::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (manualRun_ != nullptr) manualRun_->cancel();
    editor_->tree().stopListing();
    app_.stopThreads();
    event->accept();
    Q_EMIT closed();
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        takePendingPath();
        applyAnimationSetting();
    } else if (event->type() == QEvent::WindowStateChange && isMaximized()) {
        activateWindow();
    }
    QMainWindow::changeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // A window manager frames the window as it maps it, before the first expose.
    if (watched == windowHandle() && event->type() == QEvent::Expose) fitToFrame();
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        resetHoverSound();
    } else if (watched == ui_.lb_anzeige->viewport() &&
               event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ShowSelectedSetDetails();
    } else if (watched == ui_.combo_tag->view()->window() && event->type() == QEvent::Show) {
        // The day list drops down.
        editor_->UpdateSaveState();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::handOverPath() {
    if (const Result<> written =
            app_.settings.writePendingPath(ui_.textb_nach->text().toStdString());
        !written) {
        showError(QString::fromStdString(written.error().message));
        return;
    }
    form5_->openDialog();
    pendingPathHandOver = true;
}

void Form1::takePendingPath() {
    if (!pendingPathHandOver) return;
    ui_.textb_nach->setText(QString::fromStdString(app_.settings.readPendingPath()));
    if (const Result<> cleared = app_.settings.clearPendingPath(); !cleared) {
        showError(QString::fromStdString(cleared.error().message));
    }
    pendingPathHandOver = false;
}

QWidget* Form1::messageOwner() {
    return isVisible() && isEnabled() ? this : nullptr;
}

void Form1::showError(const QString& text) {
    app_.services.messages.show(messageOwner(), QMessageBox::Warning,
                                titled(QStringLiteral("Fehler")), text, QMessageBox::Ok);
}

void Form1::playPageOpenSound() {
    if (soundAnimationOn) app_.services.sounds.playSound(QStringLiteral("MENUE_AUF"));
}

void Form1::playPageCloseSound() {
    if (soundAnimationOn) app_.services.sounds.playSound(QStringLiteral("MENUE_ZU"));
}

void Form1::playClickSound() {
    if (soundAnimationOn) app_.services.sounds.playSound(QStringLiteral("KLICK"));
}

void Form1::playHoverSound() {
    if (!soundAnimationOn || hoverSoundPlayed != 0) return;
    app_.services.sounds.playSound(QStringLiteral("MOVE"));
    ++hoverSoundPlayed;
}

}  // namespace vaultrix
