#pragma once

#include <QString>

namespace vaultrix {

// The internet shortcut's file, in the working folder; each shortcut opened rewrites it.
inline constexpr const char* kShortcutFileName = "internet.url";

// The tutorial's start page below the working folder, with the system's separators.
QString tutorialPath(const QString& folder);

// Writes "internet.url" into `folder`: "[DEFAULT]", "BASEURL=" and the target,
// "[InternetShortcut]", "URL=" and the target, with the system's line ends between the lines.
// Then asks the desktop to open it with its default action. Browsers on Linux do not read such
// files, so there the target itself is opened. Failures are not reported: without a browser or
// a tutorial the program goes on as before.
void openMakerWebPage(const QString& folder);
void openTutorial(const QString& folder);

}  // namespace vaultrix
