#include "app/Placement.h"

namespace vaultrix {

WindowPlacement placementFor(const QRect& workArea) {
    constexpr int kMinimumWidth = 790;
    constexpr int kFillUpTo = 850;
    constexpr int kWidth = 800;
    constexpr int kHeight = 580;
    if (workArea.width() < kMinimumWidth) return {true, {}};
    if (workArea.width() > kFillUpTo) {
        return {false, QRect((workArea.width() - kWidth) / 2, (workArea.height() - kHeight) / 2,
                             kWidth, kHeight)};
    }
    return {false, workArea};
}

QSize clientSizeFor(const QSize& frame, const QMargins& margins) {
    return frame.shrunkBy(margins).expandedTo(QSize(0, 0));
}

}  // namespace vaultrix
