// The main window itself: its creation, its own events and placement, the folder hand-over to
// the create-folder dialog, the secondary windows and the sounds.
#include "app/Form1.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>
#include <QWindow>

#include "app/AppServices.h"
#include "app/LogPage.h"
#include "app/MainMenuPage.h"
#include "app/Placement.h"
#include "editor/Form5.h"
#include "editor/SetEditor.h"
#include "shell/Form2.h"
#include "shell/Form3_impressum.h"
#include "shell/Form4_hilfe.h"
#include "shell/ProgressWindow.h"
#include "shell/SoundPlayer.h"
#include "shell/Style.h"
#include "shell/WSysTray.h"
#include "shell/WebShortcut.h"

namespace vaultrix {
namespace {

// Shows the window that `open` points to, made by `make` unless one is open already (a closed
// one goes when the event loop next runs), and brings it to the front.
template <class Window, class Make>
void bringToFront(QPointer<Window>& open, Make make) {
    if (open == nullptr || open->isHidden()) open = make();
    open->show();
    open->raise();
    open->activateWindow();
}

// True when the key is one of the window's accelerators.
bool isAcceleratorOf(const QWidget& window, const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : window.actions()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) return true;
    }
    return false;
}

}  // namespace

Form1::Form1(AppServices& app)
    : app_(app), messages_(app.outside().messages, *this), scheduledRun_(new ProgressWindow(this)) {
    // The window starts hidden; the create handler decides whether it is shown.
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName));
    // A border with a caption, the system menu and the minimise box: the window has one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ui_ = buildWindowLayout(*this);
    popups_ = buildMenus(*this);
    const FormServices& outside = app_.outside();
    mainPage_ = std::make_unique<MainMenuPage>(
        MainMenuPageControls{ui_.lb_anzeige, ui_.rtb_anzeige}, *this, messages_,
        MainMenuPageServices{
            app_.sets(), app_.runner(), outside.pathExists,
            [&bridge = app_.bridge()](std::uint64_t ticket, std::vector<bool> reachable) {
                bridge.deliverDetailsPaths(ticket, std::move(reachable));
            }});
    logPage_ = std::make_unique<LogPage>(LogPageControls{ui_.rtb_anzeige, ui_.lb_anzeige},
                                         static_cast<PageChanges&>(*this), app_.log(), messages_);
    editor_ = std::make_unique<SetEditor>(
        EditorControls{ui_.tv_dir, ui_.textb_name_der_sicherung, ui_.lb_von, ui_.textb_nach,
                       ui_.combo_tag, ui_.mtextb_uhr, ui_.checkbox_aktiv, ui_.cb_speichern},
        static_cast<EditorWindow&>(*this),
        EditorServices{app_.sets(), app_.log(), app_.scheduler(), app_.slots(), app_.bridge(),
                       outside.messages, outside.volumeRoots, outside.isFolderPath});
    form5_ = new Form5(app_.settings(), outside.messages, this);
    bindEvents();
}

Form1::~Form1() = default;

bool Form1::create() {
    setWindowIcon(QIcon(QStringLiteral(":/icons/100.png")));
    tray_ = std::make_unique<WSysTray>(this, windowIcon(), QString::fromUtf8(kProductName),
                                       app_.outside().trayAvailable);
    tray_->setPopup(popups_.popup, findCommand(popups_.popup, kTrayCommandShow),
                    findCommand(popups_.popup, kTrayCommandQuit));
    connect(&app_.bridge(), &WindowBridge::statusChanged, tray_.get(),
            [tray = tray_.get()](const QString&, const QString& tip) { tray->setTip(tip); });
    resetHoverSound();
    applyAnimationSetting();
    collapseAll();
    const WindowPlacement placement = placementFor(app_.outside().workArea());
    if (placement.tooNarrow) return false;
    placeWindow(placement.rect);
    // Hidden only where the tray icon can bring the window back.
    if (!app_.settings().startHidden() || !tray_->isRegistered()) showNormal();
    loadSetNames();
    app_.startThreads();
    showPage(Page::MainMenuPage);
    return true;
}

void Form1::placeWindow(const QRect& frame) {
    placedFrame_ = frame;
    setFixedSize(frame.size());
    // Moved before its native window exists, a window is placed by its frame: the window
    // manager puts the frame's corner there, however thick the frame turns out to be.
    move(frame.topLeft());
}

void Form1::fitToFrame() {
    const QSize client = clientSizeFor(placedFrame_.size(), windowHandle()->frameMargins());
    if (minimumSize() != client || maximumSize() != client) setFixedSize(client);
}

void Form1::showEvent(QShowEvent* event) {
    // The native window exists from the first show on; its frame is known once the window
    // manager has framed it, which may be only after it was shown.
    windowHandle()->installEventFilter(this);
    fitToFrame();
    QMainWindow::showEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    mainPage_->closeDown();
    editor_->tree().stopListing();
    app_.stopThreads();
    tray_.reset();
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
    if (event->type() == QEvent::ShortcutOverride &&
        isAcceleratorOf(*this, *static_cast<QKeyEvent*>(event))) {
        // Left untaken by the control, so the window's accelerator runs.
        event->ignore();
        return true;
    }
    if (watched == windowHandle() &&
        (event->type() == QEvent::Expose || event->type() == QEvent::Move)) {
        fitToFrame();
    }
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        resetHoverSound();
    } else if (watched == ui_.combo_tag->view()->window() && event->type() == QEvent::Show) {
        // The day list drops down.
        editor_->UpdateSaveState();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::handOverPath() {
    if (const Result<> written =
            app_.settings().writePendingPath(ui_.textb_nach->text().toStdString());
        !written) {
        messages_.showError(QString::fromStdString(written.error().message));
        return;
    }
    form5_->openDialog();
    pendingPathHandOver = true;
}

void Form1::takePendingPath() {
    if (!pendingPathHandOver) return;
    ui_.textb_nach->setText(QString::fromStdString(app_.settings().readPendingPath()));
    if (const Result<> cleared = app_.settings().clearPendingPath(); !cleared) {
        messages_.showError(QString::fromStdString(cleared.error().message));
    }
    pendingPathHandOver = false;
}

void Form1::openSettings() {
    bringToFront(settingsDialog_,
                 [this] { return new Form2(this, app_.settings(), app_.outside().messages); });
}

void Form1::openHelp() {
    bringToFront(helpWindow_, [this] { return new Form4_hilfe(this); });
}

void Form1::openAbout() {
    bringToFront(aboutWindow_, [this] { return new Form3_impressum(this, workingFolder()); });
}

void Form1::openTutorialPage() {
    openTutorial(workingFolder());
}

QString Form1::workingFolder() const {
    return QDir::toNativeSeparators(
        QString::fromStdU16String(app_.outside().dataFolder.u16string()));
}

void Form1::playPageOpenSound() {
    if (soundAnimationOn) app_.outside().sounds.playSound(QStringLiteral("MENUE_AUF"));
}

void Form1::playPageCloseSound() {
    if (soundAnimationOn) app_.outside().sounds.playSound(QStringLiteral("MENUE_ZU"));
}

void Form1::playClickSound() {
    if (soundAnimationOn) app_.outside().sounds.playSound(QStringLiteral("KLICK"));
}

void Form1::playHoverSound() {
    if (!soundAnimationOn || hoverSoundPlayed != 0) return;
    app_.outside().sounds.playSound(QStringLiteral("MOVE"));
    ++hoverSoundPlayed;
}

}  // namespace vaultrix
