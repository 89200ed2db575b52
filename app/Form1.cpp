#include "app/Form1.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>

#include "app/Placement.h"
#include "engine/BackgroundThreads.h"
#include "shell/ManualRunWindow.h"
#include "shell/MessagePresenter.h"
#include "shell/SoundPlayer.h"
#include "shell/Style.h"

namespace vaultrix {

Form1::Form1(const FormServices& services)
    : services_(services),
      sets_(services.dataFolder),
      settings_(services.dataFolder),
      log_(services.dataFolder, services.clock),
      runner_(sets_, settings_, log_) {
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
    const WindowPlacement placement = placementFor(services_.workArea());
    if (placement.tooNarrow) return false;
    // The rectangle is the window's own, frame included: its top left is where the frame goes.
    move(placement.rect.topLeft());
    resize(placement.rect.size());
    if (!settings_.startHidden()) showNormal();
    loadSetNames();
    scheduler_.LoadScheduleTable(sets_);
    startThreads();
    showPage(Page::MainMenuPage);
    return true;
}

void Form1::startThreads() {
    const Clock& clock = services_.clock;
    slots_.StartSlot(ThreadSlots::kTimeSlot,
                     [this, &clock](SlotControl& control) { TimeThread(control, clock, bridge_); });
    slots_.StartSlot(ThreadSlots::kBackupSlot, [this, &clock](SlotControl& control) {
        BackupThread(control, clock, scheduler_, runner_, bridge_, bridge_);
    });
}

void Form1::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (manualRun_ != nullptr) manualRun_->cancel();
    for (int slot = 0; slot < ThreadSlots::kSlotCount; ++slot) slots_.StopSlot(slot);
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
    } else if (watched == lb_anzeige->viewport() && event->type() == QEvent::MouseButtonRelease) {
        ShowSelectedSetDetails();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::takePendingPath() {
    if (!pendingPathHandOver) return;
    textb_nach->setText(QString::fromStdString(settings_.readPendingPath()));
    if (const Result<> cleared = settings_.clearPendingPath(); !cleared) {
        showError(QString::fromStdString(cleared.error().message));
    }
    pendingPathHandOver = false;
}

QWidget* Form1::messageOwner() {
    return isVisible() && isEnabled() ? this : nullptr;
}

void Form1::showError(const QString& text) {
    services_.messages.show(messageOwner(), QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                            text, QMessageBox::Ok);
}

void Form1::playPageOpenSound() {
    if (soundAnimationOn) services_.sounds.playSound(QStringLiteral("MENUE_AUF"));
}

void Form1::playPageCloseSound() {
    if (soundAnimationOn) services_.sounds.playSound(QStringLiteral("MENUE_ZU"));
}

void Form1::playClickSound() {
    if (soundAnimationOn) services_.sounds.playSound(QStringLiteral("KLICK"));
}

void Form1::playHoverSound() {
    if (!soundAnimationOn || hoverSoundPlayed != 0) return;
    services_.sounds.playSound(QStringLiteral("MOVE"));
    ++hoverSoundPlayed;
}

}  // namespace vaultrix
