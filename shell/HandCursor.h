#pragma once

#include <QCursor>

namespace vaultrix {

// The hotspot of the hand cursor ":/cursors/100.png": the tip of the index finger.
inline constexpr int kHandCursorHotX = 10;
inline constexpr int kHandCursorHotY = 0;

// The hand cursor (cursor 100), over what opens a web page or closes a window.
inline QCursor handCursor() {
    return QCursor(QPixmap(QStringLiteral(":/cursors/100.png")), kHandCursorHotX, kHandCursorHotY);
}

}  // namespace vaultrix
