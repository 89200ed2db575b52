#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace vaultrix {

// The program's icon in the desktop's notification area (tray), which keeps the main window
// reachable while it is hidden: a left click on the icon or "Anzeigen" in its popup shows the
// window in its normal state, "Beenden" asks it to close, and minimising hides it. Where the
// desktop offers no tray, nothing could bring a hidden window back, so the window is never
// hidden there: minimising leaves it in the task bar.
class WSysTray final : public QObject {
    Q_OBJECT

public:
    // A child of `owner`, named "WSysTray"; its icon is its child. `trayAvailable` tells whether
    // the desktop offers a tray at the moment.
    WSysTray(QWidget* owner, const QIcon& icon, const QString& tip,
             std::function<bool()> trayAvailable);

    // The popup of the icon, with its entries that show the owner and close it.
    void setPopup(QMenu* menu, QAction* showItem, QAction* exitItem);
    // The tooltip: the first 63 characters of the text.
    void setTip(const QString& text);
    // Whether the owner can be hidden, the icon being there to bring it back.
    bool isRegistered() const { return trayAvailable_(); }
    // Hides the owner, or minimises it where there is no tray.
    void hideOwner();
    // Shows the owner in its normal state, in front.
    void showOwner();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* owner_;
    QSystemTrayIcon icon_;
    std::function<bool()> trayAvailable_;
};

}  // namespace vaultrix
