#pragma once

#include <QSize>

namespace vaultrix {

// Sizes the page operations give their controls.
inline constexpr QSize kLabelSize{150, 13};
inline constexpr QSize kSmallPictureSize{77, 35};
inline constexpr QSize kPictureSize{119, 35};

}  // namespace vaultrix
