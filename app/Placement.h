#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace vaultrix {

// Where the main window goes on a work area, or that the work area is too narrow to start.
struct WindowPlacement {
    bool tooNarrow = false;
    QRect rect;
};

// Narrower than 790 pixels: too narrow. Up to 850: the whole work area. Wider: an 800 × 580
// window centred in the work area's size (its origin is not added).
WindowPlacement placementFor(const QRect& workArea);

// The size of the client area that gives a frame of `frame` size, the window manager's frame
// being `margins` thick on each side (none without a window manager).
QSize clientSizeFor(const QSize& frame, const QMargins& margins);

}  // namespace vaultrix
