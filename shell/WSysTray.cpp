#include "shell/WSysTray.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QWidget>

namespace vaultrix {
namespace {

// The most the notification area's tooltip takes.
constexpr qsizetype kTipLength = 63;

}  // namespace

WSysTray::WSysTray(QWidget* owner, const QIcon& icon, const QString& tip,
                   std::function<bool()> trayAvailable)
    : QObject(owner), owner_(owner), icon_(icon, this), trayAvailable_(std::move(trayAvailable)) {
    setObjectName(QStringLiteral("WSysTray"));
    setTip(tip);
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger) showOwner();
            });
    owner_->installEventFilter(this);
    icon_.show();
}

void WSysTray::setPopup(QMenu* menu, QAction* showItem, QAction* exitItem) {
    icon_.setContextMenu(menu);
    connect(showItem, &QAction::triggered, this, &WSysTray::showOwner);
    // Posted, as the close box does, so the popup has closed before the window closes.
    connect(exitItem, &QAction::triggered, owner_, &QWidget::close, Qt::QueuedConnection);
}

void WSysTray::setTip(const QString& text) {
    icon_.setToolTip(text.left(kTipLength));
}

void WSysTray::hideOwner() {
    if (isRegistered()) {
        owner_->hide();
    } else {
        owner_->showMinimized();
    }
}

void WSysTray::showOwner() {
    owner_->showNormal();
    owner_->raise();
    owner_->activateWindow();
}

bool WSysTray::eventFilter(QObject* watched, QEvent* event) {
    // Hidden once the minimise has run its course; hiding inside it would undo it on some
    // window systems.
    if (watched == owner_ && event->type() == QEvent::WindowStateChange && owner_->isMinimized() &&
        isRegistered()) {
        QMetaObject::invokeMethod(owner_, &QWidget::hide, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vaultrix
