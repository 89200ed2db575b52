#include "shell/MessagePresenter.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QWidget>

#include "shell/ShortText.h"
#include "shell/Style.h"

namespace vaultrix {
namespace {

// What a window frame's caption takes besides its title: the icon and three buttons.
constexpr int kCaptionButtonsWidth = 120;

}  // namespace

QWidget* WindowMessages::owner() const {
    return window_.isVisible() && window_.isEnabled() ? &window_ : nullptr;
}

void WindowMessages::showError(const QString& text) const {
    presenter_.show(owner(), QMessageBox::Warning, titled(QStringLiteral("Fehler")), text,
                    QMessageBox::Ok);
}

void WindowMessages::showInformation(const QString& text) const {
    presenter_.show(owner(), QMessageBox::Information, titled(QStringLiteral("Information")), text,
                    QMessageBox::Ok);
}

bool WindowMessages::confirm(const QString& role, const QString& text) const {
    return presenter_.show(owner(), QMessageBox::Warning, titled(role), text,
                           QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QMessageBox::StandardButton QtMessagePresenter::show(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, shortLines(text), buttons, owner);
    // Names and paths are shown as they are: never read as HTML, line breaks kept.
    box.setTextFormat(Qt::PlainText);
    // The buttons' own texts, also where Qt's German translations are not installed.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QStringLiteral("Abbrechen"));
    }
    // A box sizes itself to its text; it is made wide enough that a window frame shows the whole
    // title (in its caption font, bolder than the text's), with room for the frame's buttons.
    QFont captionFont = box.font();
    captionFont.setBold(true);
    const int titleWidth =
        QFontMetrics(captionFont).horizontalAdvance(title) + kCaptionButtonsWidth;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    // Task-modal: the whole program waits for the answer, as with an owned system message box.
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace vaultrix
