#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace vaultrix {

// Shows message boxes. The window asks through this seam so tests can read a message and
// answer a question without a real modal loop.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows the box (modal) and returns the button the user pressed. `owner` may be null.
    virtual QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon,
                                             const QString& title, const QString& text,
                                             QMessageBox::StandardButtons buttons) = 0;
};

// The message boxes of one window: owned by it while it is visible and enabled, else by no
// window (a hidden or disabled owner would hide or block its box), titled "Vaultrix 1.0 - "
// and their role.
class WindowMessages {
public:
    WindowMessages(MessagePresenter& presenter, QWidget& window)
        : presenter_(presenter), window_(window) {}

    QWidget* owner() const;
    // A warning titled "Fehler" with an OK button.
    void showError(const QString& text) const;
    // A note titled "Information" with an OK button.
    void showInformation(const QString& text) const;
    // A warning titled `role` that asks OK or Abbrechen; true for OK.
    bool confirm(const QString& role, const QString& text) const;

private:
    MessagePresenter& presenter_;
    QWidget& window_;
};

// The real message boxes; their text is always plain text.
class QtMessagePresenter final : public MessagePresenter {
public:
    QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override;
};

}  // namespace vaultrix
