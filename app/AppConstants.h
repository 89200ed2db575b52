#pragma once

#include <QColor>
#include <QSize>

namespace vaultrix {

// The product name and version, and the caption prefix of every window and message box.
inline constexpr const char* kProductName = "Vaultrix 1.0";
inline constexpr const char* kTitlePrefix = "Vaultrix 1.0 - ";

// Sizes the page operations give their controls.
inline constexpr QSize kLabelSize{150, 13};
inline constexpr QSize kSmallPictureSize{77, 35};
inline constexpr QSize kPictureSize{119, 35};

// The light yellow of the main window's background.
inline constexpr QColor kFormBackground{255, 255, 204};

// The message-box titles.
inline constexpr const char* kErrorTitle = "Vaultrix 1.0 - Fehler";
inline constexpr const char* kInformationTitle = "Vaultrix 1.0 - Information";

}  // namespace vaultrix
