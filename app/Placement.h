#pragma once

#include <QRect>

namespace vaultrix {

// Where the main window goes on a work area, or that the work area is too narrow to start.
struct WindowPlacement {
    bool tooNarrow = false;
    QRect rect;
};

// Narrower than 790 pixels: too narrow. Up to 850: the whole work area. Wider: an 800 × 580
// window centred in the work area's size (its origin is not added).
WindowPlacement placementFor(const QRect& workArea);

}  // namespace vaultrix
