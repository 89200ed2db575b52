#include "editor/Form5.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>
#include <algorithm>
#include <cmath>
#include <string>

#include "common/WindowsNames.h"
#include "platform/FileSystem.h"
#include "shell/MessagePresenter.h"
#include "shell/SecondaryWindow.h"
#include "shell/Style.h"
#include "store/SettingsStore.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

// The dialog's layout in pixels (its template converted from dialog units): 181 × 48, the name
// field at 5, 5 (170 × 14), "Abbrechen" at 125, 25 and "Ok" at 65, 25 (50 × 18 each).
constexpr int kWidth = 271, kHeight = 78;
constexpr int kMargin = 7, kFieldTop = 8, kFieldHeight = 22;
constexpr int kButtonTop = 40, kButtonWidth = 75, kButtonHeight = 29;
constexpr int kCancelRight = 9, kOkRight = 99;  // distances of the buttons' right edges
// What a window frame's caption takes besides its title: the icon and up to three buttons.
constexpr int kCaptionButtonsWidth = 140;

constexpr const char* kFieldTip =
    "In diesem Ordner/ Laufwerk werden Ihre Daten gesichert. Mit Recktsklick können Sie ein "
    "neues Unterverzeichnis im gewählten Ordner/ Laufwerk anlegen";

// The field takes no more than it shows: it never scrolls sideways, so typing stops at its
// visible width, and of a longer text pasted in only what fits is kept.
class VisibleWidthValidator final : public QValidator {
public:
    explicit VisibleWidthValidator(QLineEdit* field) : QValidator(field), field_(field) {}

    State validate(QString& text, int& position) const override {
        // What does not fit is dropped from what was just typed or pasted, before the cursor.
        while (!fits(text) && position > 0) text.remove(--position, 1);
        return fits(text) ? Acceptable : Invalid;
    }

private:
    // As the field lays out its line: its contents without frame and text margins, two pixels
    // either side of the text, and one more and the cursor after it.
    bool fits(const QString& text) const {
        const QStyle* style = field_->style();
        QStyleOptionFrame frame;
        frame.initFrom(field_);
        frame.rect = field_->rect();
        frame.lineWidth = field_->hasFrame()
                              ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, field_)
                              : 0;
        frame.state |= QStyle::State_Sunken;
        const QRect contents = style->subElementRect(QStyle::SE_LineEditContents, &frame, field_)
                                   .marginsRemoved(field_->textMargins());
        const int cursor = style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, field_);
        const int room = contents.width() - 2 * 2 - 1 - cursor;
        return std::ceil(QFontMetricsF(field_->font()).horizontalAdvance(text)) <= room;
    }

    QLineEdit* field_;
};

QPushButton* makeButton(QWidget* parent, const char* name, const char* text) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    // Neither button is the default: Enter in the field presses nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

Form5::Form5(SettingsStore& settings, MessagePresenter& messages, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      messages_(messages) {
    setUpSecondaryWindow(this, "Form5", QStringLiteral("Ordner erstellen"));
    // Opened again for every new folder, so it stays when it closes.
    setAttribute(Qt::WA_DeleteOnClose, false);

    ui_.textb_nach = new QLineEdit(this);
    ui_.textb_nach->setObjectName(QStringLiteral("textb_nach"));
    ui_.textb_nach->setToolTip(QString::fromUtf8(kFieldTip));
    QPalette white = ui_.textb_nach->palette();
    white.setColor(QPalette::Base, Qt::white);
    ui_.textb_nach->setPalette(white);
    ui_.textb_nach->setValidator(new VisibleWidthValidator(ui_.textb_nach));
    ui_.cb_1 = makeButton(this, "cb_1", "Abbrechen");
    ui_.cb_ordner_erstellen = makeButton(this, "cb_ordner_erstellen", "Ok");

    // Wide enough that a window frame shows the whole title (the application's font in bold
    // stands in for the frame's); the buttons keep to the right.
    QFont captionFont = QApplication::font(this);
    captionFont.setBold(true);
    const int width = std::max(
        kWidth, QFontMetrics(captionFont).horizontalAdvance(windowTitle()) + kCaptionButtonsWidth);
    setFixedSize(width, kHeight);
    ui_.textb_nach->setGeometry(kMargin, kFieldTop, width - 2 * kMargin - 2, kFieldHeight);
    ui_.cb_1->setGeometry(width - kCancelRight - kButtonWidth, kButtonTop, kButtonWidth,
                          kButtonHeight);
    ui_.cb_ordner_erstellen->setGeometry(width - kOkRight - kButtonWidth, kButtonTop, kButtonWidth,
                                         kButtonHeight);
    setTabOrder(ui_.textb_nach, ui_.cb_1);
    setTabOrder(ui_.cb_1, ui_.cb_ordner_erstellen);

    connect(ui_.textb_nach, &QLineEdit::textChanged, this, &Form5::OnFolderNameChange);
    connect(ui_.cb_1, &QPushButton::clicked, this, &Form5::close);
    connect(ui_.cb_ordner_erstellen, &QPushButton::clicked, this, &Form5::CreateFolderFromDialog);
}

void Form5::openDialog() {
    parent_ = settings_.readPendingPath();
    ui_.textb_nach->clear();
    ui_.cb_ordner_erstellen->setEnabled(false);
    // Over the middle of the main window.
    if (const QWidget* owner = parentWidget()) {
        placeOwnedWindow(this, owner,
                         QPoint((owner->width() - width()) / 2, (owner->height() - height()) / 2));
    }
    show();
    raise();
    activateWindow();
    ui_.textb_nach->setFocus();
}

void Form5::OnFolderNameChange() {
    // Once offered, Ok stays until the dialog closes, also when the name is emptied again.
    if (!ui_.textb_nach->text().isEmpty()) ui_.cb_ordner_erstellen->setEnabled(true);
}

void Form5::CreateFolderFromDialog() {
    const std::string name = ui_.textb_nach->text().toStdString();
    if (const std::string reason = unstorableReason(name); !reason.empty()) {
        messages_.show(this, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                       QStringLiteral("Der Ordnername ") + QString::fromStdString(reason),
                       QMessageBox::Ok);
        return;
    }
    // On every system: the set it becomes the destination of must work under Windows.
    if (const std::string reason = windowsNameProblem(name); !name.empty() && !reason.empty()) {
        messages_.show(this, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                       QStringLiteral("Der Ordner kann so nicht angelegt werden: ") +
                           QString::fromStdString(reason),
                       QMessageBox::Ok);
        return;
    }
    // Exactly one separator between them, also below a drive root; no name, no new folder.
    const std::string path = name.empty() ? parent_ : fs::joinPath(parent_, name);
    if (const Result<> written = settings_.writePendingPath(path); !written) {
        messages_.show(this, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                       QString::fromStdString(written.error().message), QMessageBox::Ok);
        return;
    }
    // Whether it is made (it may exist, or the name may not do) is not reported: the
    // destination shows the path, and the set's details say when it is missing.
    if (!name.empty()) static_cast<void>(fs::makeUserFolder(path));
    close();
}

}  // namespace vaultrix
