#pragma once

#include <QColor>
#include <QString>

namespace vaultrix {

// The product name and version: the main window's own caption.
inline constexpr const char* kProductName = "Vaultrix 1.0";
// What every other caption and message-box title starts with.
inline constexpr const char* kTitlePrefix = "Vaultrix 1.0 - ";

// A caption or message-box title: the prefix and a role ("Fehler", "Information", …).
QString titled(const QString& role);

// The light yellow of the windows' backgrounds.
inline constexpr QColor kFormBackground{255, 255, 204};

}  // namespace vaultrix
