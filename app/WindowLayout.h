#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QPushButton;
class QTextEdit;
class QTreeWidget;

namespace vaultrix {

class PictureBox;

// The controls of the main window, named as in its layout; each carries its name as its object
// name too. The pages take the ones they work with.
struct WindowControls {
    QTreeWidget* tv_dir = nullptr;
    QListWidget* lb_von = nullptr;
    QPushButton* cb_speichern = nullptr;
    QComboBox* combo_tag = nullptr;
    QLineEdit* mtextb_uhr = nullptr;
    QLabel* label_wann = nullptr;
    QLabel* label_nach = nullptr;
    QLabel* label_von = nullptr;
    QLabel* label_name_der_sicherung = nullptr;
    QLabel* label_pfad_waehlen = nullptr;
    QPushButton* cb_starten = nullptr;
    QPushButton* cb_verwerfen = nullptr;
    QPushButton* cb_bearbeiten = nullptr;
    QPushButton* cb_anlegen = nullptr;
    QLineEdit* textb_name_der_sicherung = nullptr;
    QPushButton* cb_lade_pfad_von = nullptr;
    QPushButton* cb_loesche_pfad_von = nullptr;
    QPushButton* cb_lade_pfad_nach = nullptr;
    QPushButton* cb_loesche_alles_von = nullptr;
    QLineEdit* textb_nach = nullptr;
    QTextEdit* rtb_anzeige = nullptr;
    QListWidget* lb_anzeige = nullptr;
    QLabel* label_inhalt = nullptr;
    QLabel* label_sicherung = nullptr;
    QPushButton* cb_loeschen = nullptr;
    QPushButton* cb_beenden = nullptr;
    QLabel* label_zeit = nullptr;
    QPushButton* cb_log_anzeigen = nullptr;
    QPushButton* cb_log_loeschen = nullptr;
    QPushButton* cb_log_schliessen = nullptr;
    QPushButton* cb_tv_aktuell = nullptr;
    QLabel* label_log = nullptr;
    QLineEdit* textb_dummy = nullptr;
    QCheckBox* checkbox_aktiv = nullptr;
    QLabel* label_aktiv = nullptr;
    QLabel* label_datum_zeit = nullptr;
    QLabel* anim_1 = nullptr;
    QLabel* label_1 = nullptr;
    QPushButton* cb_1 = nullptr;
    QPushButton* cb_2 = nullptr;
    PictureBox* pictb_quelle = nullptr;
    PictureBox* pictb_ziel = nullptr;
    PictureBox* pictb_quelle_loeschen = nullptr;
    PictureBox* pictb_quelle_aloeschen = nullptr;
    PictureBox* pictb_sicherung_speichern = nullptr;
    PictureBox* pictb_sicherung_verwerfen = nullptr;
    PictureBox* pictb_tv_aktuell = nullptr;
    PictureBox* pictb_anlegen = nullptr;
    PictureBox* pictb_bearbeiten = nullptr;
    PictureBox* pictb_loeschen = nullptr;
    PictureBox* pictb_starten = nullptr;
    PictureBox* pictb_log_anzeigen = nullptr;
    PictureBox* pictb_beenden = nullptr;
    PictureBox* pictb_log_loeschen = nullptr;
    PictureBox* pictb_log_schliessen = nullptr;
    PictureBox* pictb_logo4 = nullptr;
};

// Builds every control of the window's layout on a new client area of the window, at its place
// in dialog units of the form font, in the order of the control ids (the tab order).
WindowControls buildWindowLayout(QMainWindow& window);

}  // namespace vaultrix
