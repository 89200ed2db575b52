#include "shell/SecondaryWindow.h"

#include <QFontMetrics>
#include <QIcon>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "shell/Style.h"

namespace vaultrix {

QFont dialogTemplateFont() {
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

QFont dialogControlFont() {
    return QFont(QStringLiteral("Arial"), 8);
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QPoint DialogUnits::point(int x, int y) const {
    return QPoint(x * baseX_ / 4, y * baseY_ / 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const {
    return QRect(point(x, y), QSize(width * baseX_ / 4, height * baseY_ / 8));
}

void setUpSecondaryWindow(QWidget* window, const char* name, const QString& role) {
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(titled(role));
    window->setWindowIcon(QIcon(QStringLiteral(":/icons/100.png")));
    window->setFont(dialogControlFont());
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kFormBackground);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void placeOwnedWindow(QWidget* window, const QWidget* owner, const QPoint& position) {
    // The window's frame is not known before the window system has framed it; the owner's is
    // the best guess.
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerClient = owner->geometry();
    const QMargins frameMargins(
        ownerClient.left() - ownerFrame.left(), ownerClient.top() - ownerFrame.top(),
        ownerFrame.right() - ownerClient.right(), ownerFrame.bottom() - ownerClient.bottom());
    QRect frame =
        QRect(ownerClient.topLeft() + position, window->size()).marginsAdded(frameMargins);
    if (const QScreen* screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
        frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
    }
    // A window's position is that of its frame.
    window->move(frame.topLeft());
}

}  // namespace vaultrix
