// The main window's layout: every control with its place, size, caption and tooltip.
#include "app/WindowLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <type_traits>

#include "common/Days.h"
#include "shell/PictureBox.h"
#include "shell/ShortText.h"
#include "shell/Style.h"

namespace vaultrix {

namespace {

// A control as the window's layout gives it: the rectangle in dialog units of the form font.
struct Layout {
    const char* name;
    const char* caption;
    const char* tooltip;
    int x, y, width, height;
    bool visible;
    bool enabled = true;
};

enum class Font { form, arial };

// Dialog units to pixels with the base units of an 8-point font.
QRect fromDialogUnits(const Layout& layout) {
    return QRect(layout.x * 6 / 4, layout.y * 13 / 8, layout.width * 6 / 4, layout.height * 13 / 8);
}

void setBackground(QWidget* control, const QColor& colour, QPalette::ColorRole role) {
    QPalette palette = control->palette();
    palette.setColor(role, colour);
    control->setPalette(palette);
}

template <class Control>
Control* make(QWidget* parent, const Layout& layout, Font font) {
    auto* control = new Control(parent);
    control->setObjectName(QString::fromUtf8(layout.name));
    if constexpr (std::is_base_of_v<QLabel, Control> ||
                  std::is_base_of_v<QAbstractButton, Control>) {
        control->setText(QString::fromUtf8(layout.caption));
    }
    control->setToolTip(QString::fromUtf8(layout.tooltip));
    control->setGeometry(fromDialogUnits(layout));
    if (font == Font::arial) control->setFont(QFont(QStringLiteral("Arial"), 8));
    control->setEnabled(layout.enabled);
    control->setVisible(layout.visible);
    return control;
}

constexpr bool shown = true;
constexpr bool hidden = false;
constexpr bool disabled = false;

constexpr const char* kTimeTip =
    "Bitte Uhrzeit im Format hh::mm eintragen wenn 'aktiv' gewählt ist. Somit wird Ihre "
    "Sicherung automatisch zur gewählten Uhrzeit ausgeführt";

}  // namespace

WindowControls buildWindowLayout(QMainWindow& window) {
    WindowControls ui;
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    setBackground(client, kFormBackground, QPalette::Window);
    window.setCentralWidget(client);

    // In the order of the control ids, which is also the tab order.
    // clang-format off
    const Font arial = Font::arial;
    ui.tv_dir = make<QTreeWidget>(client, {"tv_dir", "", "Dateien oder Ordner wählen", 111, 370, 160, 40, shown}, arial);
    ui.lb_von = make<QListWidget>(client, {"lb_von", "", "diese Dateien sichern", 111, 460, 160, 50, shown}, arial);
    ui.cb_speichern = make<QPushButton>(client, {"cb_speichern", "Sicherung speichern und zurück", "", 566, 485, 76, 29, hidden, disabled}, Font::form);
    ui.combo_tag = make<QComboBox>(client, {"combo_tag", "", "Tag wählen", 113, 560, 22, 91, shown}, arial);
    ui.mtextb_uhr = make<QLineEdit>(client, {"mtextb_uhr", "", kTimeTip, 215, 560, 7, 9, shown}, arial);
    ui.label_wann = make<QLabel>(client, {"label_wann", "wann :", "", 113, 550, 40, 8, shown}, arial);
    ui.label_nach = make<QLabel>(client, {"label_nach", "nach :", "", 113, 515, 40, 8, shown}, arial);
    ui.label_von = make<QLabel>(client, {"label_von", "von :", "", 113, 445, 40, 8, shown}, arial);
    ui.label_name_der_sicherung = make<QLabel>(client, {"label_name_der_sicherung", "Name der Sicherung :", "", 113, 410, 104, 8, shown}, arial);
    ui.label_pfad_waehlen = make<QLabel>(client, {"label_pfad_waehlen", "Pfad wählen :", "", 111, 360, 56, 8, shown}, arial);
    ui.cb_starten = make<QPushButton>(client, {"cb_starten", "Sicherung manuell starten", "", 655, 120, 76, 29, hidden, disabled}, Font::form);
    ui.cb_verwerfen = make<QPushButton>(client, {"cb_verwerfen", "Sicherung verwerfen und zurück", "", 566, 450, 76, 29, hidden}, Font::form);
    ui.cb_bearbeiten = make<QPushButton>(client, {"cb_bearbeiten", "Sicherung bearbeiten", "", 655, 50, 76, 29, hidden, disabled}, Font::form);
    ui.cb_anlegen = make<QPushButton>(client, {"cb_anlegen", "Sicherung anlegen", "", 655, 15, 75, 29, hidden}, Font::form);
    ui.textb_name_der_sicherung = make<QLineEdit>(client, {"textb_name_der_sicherung", "", "Name der Sicherung eintragen", 113, 425, 160, 14, shown}, arial);
    ui.cb_lade_pfad_von = make<QPushButton>(client, {"cb_lade_pfad_von", ">>", "", 91, 410, 16, 31, hidden}, Font::form);
    ui.cb_loesche_pfad_von = make<QPushButton>(client, {"cb_loesche_pfad_von", "X", "", 91, 445, 16, 30, hidden}, Font::form);
    ui.cb_lade_pfad_nach = make<QPushButton>(client, {"cb_lade_pfad_nach", ">>", "Ordner hinzufügen", 91, 545, 16, 30, hidden, disabled}, Font::form);
    ui.cb_loesche_alles_von = make<QPushButton>(client, {"cb_loesche_alles_von", "XX", "", 91, 480, 16, 30, hidden}, Font::form);
    ui.textb_nach = make<QLineEdit>(client, {"textb_nach", "", "In diesem Ordner/ Laufwerk werden Ihre Daten gesichert.Mit Recktsklick können Sie ein neues Unterverzeichnis im gewählten Ordner/ Laufwerk anlegen", 111, 530, 160, 14, shown}, arial);
    ui.rtb_anzeige = make<QTextEdit>(client, {"rtb_anzeige", "", "", 111, 60, 70, 35, shown}, arial);
    ui.lb_anzeige = make<QListWidget>(client, {"lb_anzeige", "", "Sicherung auswählen", 111, 20, 65, 30, shown}, arial);
    ui.label_inhalt = make<QLabel>(client, {"label_inhalt", "Inhalt der Sicherung :", "", 111, 55, 75, 11, shown}, arial);
    ui.label_sicherung = make<QLabel>(client, {"label_sicherung", "Sicherung :", "", 111, 5, 65, 10, shown}, arial);
    ui.cb_loeschen = make<QPushButton>(client, {"cb_loeschen", "Sicherung löschen", "", 655, 85, 76, 29, hidden, disabled}, Font::form);
    ui.cb_beenden = make<QPushButton>(client, {"cb_beenden", "Programm beenden", "", 656, 326, 76, 27, hidden}, Font::form);
    ui.label_zeit = make<QLabel>(client, {"label_zeit", "Zeit :", kTimeTip, 215, 550, 20, 8, shown}, arial);
    ui.cb_log_anzeigen = make<QPushButton>(client, {"cb_log_anzeigen", "Log - Datei anzeigen", "", 656, 286, 76, 28, hidden}, Font::form);
    ui.cb_log_loeschen = make<QPushButton>(client, {"cb_log_loeschen", "Log - Datei löschen", "", 566, 526, 76, 27, hidden}, Font::form);
    ui.cb_log_schliessen = make<QPushButton>(client, {"cb_log_schliessen", "Log - Datei schliessen", "", 566, 560, 76, 30, hidden}, Font::form);
    ui.cb_tv_aktuell = make<QPushButton>(client, {"cb_tv_aktuell", "Aktualisieren", "", 295, 480, 76, 14, hidden}, Font::form);
    ui.label_log = make<QLabel>(client, {"label_log", "Log Datei :", "", 175, 360, 80, 10, shown}, arial);
    ui.textb_dummy = make<QLineEdit>(client, {"textb_dummy", "", "", 251, 560, 26, 15, shown}, arial);
    ui.checkbox_aktiv = make<QCheckBox>(client, {"checkbox_aktiv", "", "Ist diese Checkbox aktiviert wird Ihre Sicherung automatisch zur gewählten Uhrzeit ausgeführt. ", 285, 565, 14, 12, shown}, arial);
    ui.label_aktiv = make<QLabel>(client, {"label_aktiv", "aktiv :", "automatische, zeitgesteuerte Sicherung aktivieren [V] oder deaktivieren [  ]", 281, 550, 20, 8, shown}, arial);
    ui.label_datum_zeit = make<QLabel>(client, {"label_datum_zeit", "", "", 441, 292, 80, 24, shown}, arial);
    ui.anim_1 = make<QLabel>(client, {"anim_1", "", "", 295, 375, 260, 59, shown}, arial);
    ui.label_1 = make<QLabel>(client, {"label_1", "", "", 275, 0, 40, 15, hidden}, Font::form);
    ui.cb_1 = make<QPushButton>(client, {"cb_1", "pause", "", 230, 0, 40, 14, hidden}, Font::form);
    ui.cb_2 = make<QPushButton>(client, {"cb_2", "weiter", "", 185, 0, 40, 14, hidden}, Font::form);
    ui.pictb_quelle = make<PictureBox>(client, {"pictb_quelle", "", "Datei zur Sicherung hinzufügen", 36, 399, 51, 21, hidden}, Font::form);
    ui.pictb_ziel = make<PictureBox>(client, {"pictb_ziel", "", "Zielordner links auswählen und mit Klick hinzufügen - in diesen Ordner werden Ihre Daten gesichert ", 35, 550, 51, 21, hidden}, Font::form);
    ui.pictb_quelle_loeschen = make<PictureBox>(client, {"pictb_quelle_loeschen", "", "markierte Dateien aus Sicherung entfernen", 35, 445, 51, 21, hidden}, Font::form);
    ui.pictb_quelle_aloeschen = make<PictureBox>(client, {"pictb_quelle_aloeschen", "", "alle Dateien aus Sicherung entfernen", 36, 490, 51, 21, hidden}, Font::form);
    ui.pictb_sicherung_speichern = make<PictureBox>(client, {"pictb_sicherung_speichern", "", "fertig eingerichtete Sicherung speichern", 475, 455, 80, 21, shown}, Font::form);
    ui.pictb_sicherung_verwerfen = make<PictureBox>(client, {"pictb_sicherung_verwerfen", "", "Sicherung nicht speichern - zurück zum Hauptmenue", 475, 490, 80, 21, hidden}, Font::form);
    ui.pictb_tv_aktuell = make<PictureBox>(client, {"pictb_tv_aktuell", "", "Anzeige komplett aktualisieren", 295, 500, 80, 21, hidden}, Font::form);
    ui.pictb_anlegen = make<PictureBox>(client, {"pictb_anlegen", "", "Neue Sicherung anlegen", 570, 20, 80, 21, hidden}, Font::form);
    ui.pictb_bearbeiten = make<PictureBox>(client, {"pictb_bearbeiten", "", "ausgewählte Sicherung bearbeiten", 565, 55, 80, 21, hidden}, Font::form);
    ui.pictb_loeschen = make<PictureBox>(client, {"pictb_loeschen", "", "ausgewählte Sicherung löschen", 570, 90, 80, 21, hidden}, Font::form);
    ui.pictb_starten = make<PictureBox>(client, {"pictb_starten", "", "ausgewählte Sicherung sofort manuell starten", 565, 120, 80, 21, hidden}, Font::form);
    ui.pictb_log_anzeigen = make<PictureBox>(client, {"pictb_log_anzeigen", "", "Logdatei anzeigen", 565, 290, 80, 21, hidden}, Font::form);
    ui.pictb_beenden = make<PictureBox>(client, {"pictb_beenden", "", "Vaultrix 1.0 beenden (es können so keine Zeitgesteuerten Sicherungen ausgeführt werden)", 565, 330, 80, 21, hidden}, Font::form);
    ui.pictb_log_loeschen = make<PictureBox>(client, {"pictb_log_loeschen", "", "komplette Logdatei löschen", 475, 530, 80, 21, hidden}, Font::form);
    ui.pictb_log_schliessen = make<PictureBox>(client, {"pictb_log_schliessen", "", "Logdatei schliessen - zurück zum Hauptmenue", 475, 565, 80, 21, hidden}, Font::form);
    ui.pictb_logo4 = make<PictureBox>(client, {"pictb_logo4", "", "", 7, 70, 82, 186, hidden}, Font::form);
    // clang-format on

    for (const int day : kDayBoxOrder)
        ui.combo_tag->addItem(QString::fromStdString(weekdayName(day)));
    ui.mtextb_uhr->setInputMask(QStringLiteral("99:99"));
    ui.tv_dir->setHeaderHidden(true);
    ui.rtb_anzeige->setReadOnly(true);
    // Thousands of names, or one of megabytes, are laid out at once: each row as high as the
    // first, and only the start of a long name measured and painted.
    ui.lb_anzeige->setUniformItemSizes(true);
    ui.lb_anzeige->setItemDelegate(new ShortTextDelegate(ui.lb_anzeige));
    // The text shows; it offers no commands of its own.
    ui.rtb_anzeige->setContextMenuPolicy(Qt::NoContextMenu);
    setBackground(ui.textb_nach, Qt::white, QPalette::Base);
    setBackground(ui.rtb_anzeige, Qt::white, QPalette::Base);
    ui.label_datum_zeit->setAutoFillBackground(true);
    setBackground(ui.label_datum_zeit, kFormBackground, QPalette::Window);
    ui.pictb_logo4->setBitmaps({145, 145, 0});
    return ui;
}

}  // namespace vaultrix
