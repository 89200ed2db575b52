#include "shell/MessagePresenter.h"

namespace vaultrix {

QMessageBox::StandardButton QtMessagePresenter::show(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, owner);
    // Names and paths are shown as they are: never read as HTML, line breaks kept.
    box.setTextFormat(Qt::PlainText);
    // Task-modal: the whole program waits for the answer, as with an owned system message box.
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vaultrix
