#pragma once

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace vaultrix {

// The command numbers of the menu items, kept in each item's data. The three menus number their
// items each on their own, so a number tells an item only together with its menu.

// The menu bar.
inline constexpr int kCommandIntroduction = 1001;  // "Einleitung": the tutorial's start page
inline constexpr int kCommandQuit = 1003;          // "Beenden": closes the main window
inline constexpr int kCommandSettings = 1004;      // "Einstellung": the settings dialog
inline constexpr int kCommandTutorial = 1006;      // "Tutorial": the same page as "Einleitung"
inline constexpr int kCommandHelp = 1007;          // "Hilfe": the help window
inline constexpr int kCommandAbout = 1009;         // "Impressum": the about window

// The tray popup ID_Form1_popup.
inline constexpr int kTrayCommandShow = 10000;      // "Anzeigen": shows the main window
inline constexpr int kTrayCommandSettings = 10001;  // "Einstellung": the settings dialog
inline constexpr int kTrayCommandMinimise = 10002;  // "Minimieren": hides the main window
inline constexpr int kTrayCommandQuit = 10004;      // "Beenden": closes the main window

// The destination field's popup ID_Form1_popup_ordner.
inline constexpr int kFolderCommandCreateFolder = 10000;  // "Ordner erstellen"

// The popups of the main window.
struct WindowPopups {
    QMenu* popup = nullptr;         // ID_Form1_popup: the tray icon's
    QMenu* popup_ordner = nullptr;  // ID_Form1_popup_ordner: the destination field's
};

// Builds the window's menu bar with its accelerators, and its two popups.
WindowPopups buildMenus(QMainWindow& window);

// The item with this command number in a menu bar or menu, sub-menus included; null if none.
QAction* findCommand(const QWidget* menu, int command);

}  // namespace vaultrix
