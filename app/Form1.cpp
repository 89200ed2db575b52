#include "app/Form1.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>

#include "app/AppServices.h"
#include "app/Pages.h"
#include "app/Placement.h"
#include "shell/ManualRunWindow.h"
#include "shell/MessagePresenter.h"
#include "shell/SoundPlayer.h"
#include "shell/Style.h"

namespace vaultrix {

Form1::Form1(AppServices& app) : app_(app) {
    // The window starts hidden; the create handler decides whether it is shown.
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kProductName));
    buildControls();
    buildMenus();
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
    // The rectangle is the window's own, frame included: its top left is where the frame goes.
    move(placement.rect.topLeft());
    resize(placement.rect.size());
    if (!app_.settings.startHidden()) showNormal();
    loadSetNames();
    app_.scheduler.LoadScheduleTable(app_.sets);
    app_.startThreads();
    showPage(Page::MainMenuPage);
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (manualRun_ != nullptr) manualRun_->cancel();
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
    if (watched == centralWidget() && event->type() == QEvent::MouseMove) {
        resetHoverSound();
    } else if (watched == ui_.lb_anzeige->viewport() &&
               event->type() == QEvent::MouseButtonRelease) {
        ShowSelectedSetDetails();
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
