#include "shell/MessagePresenter.h"

#include <QAbstractButton>

namespace vaultrix {

QMessageBox::StandardButton QtMessagePresenter::show(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, owner);
    // Names and paths are shown as they are: never read as HTML, line breaks kept.
    box.setTextFormat(Qt::PlainText);
    // The buttons' own texts, also where Qt's German translations are not installed.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QStringLiteral("Abbrechen"));
    }
    // Task-modal: the whole program waits for the answer, as with an owned system message box.
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vaultrix
