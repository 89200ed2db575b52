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

// The real message boxes; their text is always plain text.
class QtMessagePresenter final : public MessagePresenter {
public:
    QMessageBox::StandardButton show(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                     const QString& text,
                                     QMessageBox::StandardButtons buttons) override;
};

}  // namespace vaultrix
