#include "shell/Form2.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "shell/MessagePresenter.h"
#include "shell/SecondaryWindow.h"
#include "shell/Style.h"
#include "store/SettingsStore.h"

namespace vaultrix {
namespace {

constexpr const char* kOverwriteText =
    "Bei jedem Sicherungsvorgang gesicherte Daten überschreiben ?";
constexpr const char* kOverwriteExplanation =
    "Ist diese Option deaktiviert, wird für jeden Sicherungsvorgang eine\n"
    "Kopie angelegt. (Dadurch kann der Datenträger an die\n"
    "Kapazitätsgrenze geraten. Es wird deshalb empfohlen, alte nicht\n"
    "mehr benötigte, Sicherungsdaten regelmässig zu löschen.)";
constexpr const char* kStartHiddenText = "Programm immer minimiert als Icon starten ?";
constexpr const char* kSoundText = "Sound und Animation an/aus";

constexpr QColor kExplanationColour{121, 0, 0};

template <class Control>
Control* make(QWidget* parent, const char* name, const QRect& rect) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(rect);
    return control;
}

}  // namespace

Form2::Form2(QWidget* owner, SettingsStore& settings, MessagePresenter& messages)
    : QDialog(owner), settings_(settings), messages_(messages) {
    setUpSecondaryWindow(this, "Form2", QStringLiteral("Einstellungen"));
    // A caption with the system menu and the minimise box, at one fixed size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    const DialogUnits units(dialogTemplateFont());
    setFixedSize(units.rect(0, 0, 253, 149).size());
    ui_.cb_1 = make<QPushButton>(this, "cb_1", units.rect(195, 125, 50, 18));
    ui_.cb_1->setText(QStringLiteral("Abbrechen"));
    ui_.cb_speichern = make<QPushButton>(this, "cb_speichern", units.rect(135, 125, 51, 18));
    ui_.cb_speichern->setText(QStringLiteral("Ok"));
    ui_.checkbox_kopie = make<QCheckBox>(this, "checkbox_kopie", units.rect(10, 10, 235, 10));
    ui_.label_kopie = make<QLabel>(this, "label_kopie", units.rect(22, 25, 222, 40));
    ui_.label_kopie->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette explanation = ui_.label_kopie->palette();
    explanation.setColor(QPalette::WindowText, kExplanationColour);
    ui_.label_kopie->setPalette(explanation);
    ui_.checkbox_status = make<QCheckBox>(this, "checkbox_status", units.rect(10, 70, 235, 11));
    ui_.checkbox_sound_ani =
        make<QCheckBox>(this, "checkbox_sound_ani", units.rect(10, 93, 235, 11));
    // Neither button is the default one: Enter presses nothing.
    for (QPushButton* button : {ui_.cb_1, ui_.cb_speichern}) button->setAutoDefault(false);
    placeOwnedWindow(this, owner, units.point(449, 281));

    connect(ui_.cb_speichern, &QPushButton::clicked, this, &Form2::saveDialogSettings);
    connect(ui_.cb_1, &QPushButton::clicked, this, &QWidget::close);
    loadDialogSettings();
}

void Form2::loadDialogSettings() {
    ui_.checkbox_kopie->setText(QString::fromUtf8(kOverwriteText));
    ui_.label_kopie->setText(QString::fromUtf8(kOverwriteExplanation));
    ui_.checkbox_status->setText(QString::fromUtf8(kStartHiddenText));
    ui_.checkbox_sound_ani->setText(QString::fromUtf8(kSoundText));
    const DialogSettings stored = settings_.loadDialogSettings();
    ui_.checkbox_kopie->setChecked(stored.overwrite);
    ui_.checkbox_status->setChecked(stored.startHidden);
    ui_.checkbox_sound_ani->setChecked(stored.soundAnimation);
}

void Form2::saveDialogSettings() {
    const Result<> saved = settings_.saveDialogSettings(
        DialogSettings{ui_.checkbox_kopie->isChecked(), ui_.checkbox_status->isChecked(),
                       ui_.checkbox_sound_ani->isChecked()});
    // The file keeps its old values; the user learns that the choice did not last.
    if (!saved) {
        messages_.show(this, QMessageBox::Warning, titled(QStringLiteral("Fehler")),
                       QString::fromStdString(saved.error().message), QMessageBox::Ok);
    }
    close();
}

}  // namespace vaultrix
