// The three pages of the main window: which controls they show, where, and how big.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QThread>
#include <QTreeWidget>
#include <initializer_list>
#include <vector>

#include "app/AppConstants.h"
#include "app/AppServices.h"
#include "app/Form1.h"
#include "app/Pages.h"
#include "shell/PictureBox.h"

namespace vaultrix {

namespace {

using ControlList = std::initializer_list<QWidget*>;

// The pause between two animation steps, cut to whole milliseconds; none only yields.
void pauseFor(double delay) {
    const auto milliseconds = static_cast<unsigned long>(delay);
    if (milliseconds > 0) {
        QThread::msleep(milliseconds);
    } else {
        QThread::yieldCurrentThread();
    }
}

void setAllVisible(ControlList controls, bool visible) {
    for (QWidget* control : controls) control->setVisible(visible);
}

// The controls the editor page shows as it opens and hides as it closes.
template <class Ui>
std::vector<QWidget*> editorPageControls(const Ui& form) {
    return {form.label_pfad_waehlen,
            form.tv_dir,
            form.pictb_tv_aktuell,
            form.pictb_quelle,
            form.pictb_quelle_loeschen,
            form.pictb_quelle_aloeschen,
            form.pictb_ziel,
            form.label_name_der_sicherung,
            form.textb_name_der_sicherung,
            form.label_von,
            form.lb_von,
            form.label_nach,
            form.textb_nach,
            form.label_wann,
            form.combo_tag,
            form.label_zeit,
            form.label_aktiv,
            form.checkbox_aktiv,
            form.pictb_sicherung_speichern,
            form.pictb_sicherung_verwerfen};
}

}  // namespace

void Form1::applyAnimationSetting() {
    soundAnimationOn = app_.settings.soundAnimationOn();
    moveStepDelay = 0.0;
    growStepDelay = soundAnimationOn ? 0.5 : 0.0;
}

void slideTo(QWidget* control, int x, int y, double delay) {
    if (delay <= 0) {
        control->move(x, control->y());
        control->move(x, y);
        return;
    }
    int left = control->x();
    int top = control->y();
    for (; left <= x; ++left) {
        control->move(left, control->y());
        pauseFor(delay);
    }
    for (; top <= y; ++top) {
        control->move(control->x(), top);
        pauseFor(delay);
    }
    for (; top >= y; --top) {
        control->move(control->x(), top);
        pauseFor(delay);
    }
    for (; left >= x; --left) {
        control->move(left, control->y());
        pauseFor(delay);
    }
}

void growTo(QWidget* control, int width, int height, double delay) {
    if (delay <= 0) {
        control->resize(width, control->height());
        control->resize(width, height);
        return;
    }
    int calls = 0;
    const auto step = [&] {
        // Every tenth step shows the control as it is now.
        if (calls++ % 10 == 0) control->repaint();
        pauseFor(delay);
    };
    int w = control->width();
    int h = control->height();
    for (; w <= width; ++w) {
        control->resize(w, control->height());
        step();
    }
    for (; h <= height; ++h) {
        control->resize(control->width(), h);
        step();
    }
    for (; h >= height; --h) {
        control->resize(control->width(), h);
        step();
    }
    for (; w >= width; --w) {
        control->resize(w, control->height());
        step();
    }
}

void Form1::collapseAll() {
    for (QWidget* control : ControlList{ui_.pictb_logo4,
                                        ui_.pictb_beenden,
                                        ui_.pictb_log_anzeigen,
                                        ui_.pictb_starten,
                                        ui_.pictb_loeschen,
                                        ui_.pictb_bearbeiten,
                                        ui_.pictb_anlegen,
                                        ui_.rtb_anzeige,
                                        ui_.label_inhalt,
                                        ui_.lb_anzeige,
                                        ui_.label_sicherung,
                                        ui_.pictb_sicherung_verwerfen,
                                        ui_.pictb_sicherung_speichern,
                                        ui_.pictb_tv_aktuell,
                                        ui_.label_pfad_waehlen,
                                        ui_.checkbox_aktiv,
                                        ui_.label_aktiv,
                                        ui_.textb_dummy,
                                        ui_.label_zeit,
                                        ui_.combo_tag,
                                        ui_.label_wann,
                                        ui_.textb_nach,
                                        ui_.label_nach,
                                        ui_.lb_von,
                                        ui_.label_von,
                                        ui_.pictb_quelle,
                                        ui_.pictb_quelle_loeschen,
                                        ui_.pictb_quelle_aloeschen,
                                        ui_.pictb_ziel,
                                        ui_.textb_name_der_sicherung,
                                        ui_.label_name_der_sicherung,
                                        ui_.tv_dir,
                                        ui_.label_log,
                                        ui_.pictb_log_schliessen,
                                        ui_.pictb_log_loeschen}) {
        control->resize(0, 0);
    }
    ui_.label_log->move(20, 10);
    ui_.rtb_anzeige->move(20, 10);
}

void Form1::paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void Form1::showPage(Page page) {
    const double move = moveStepDelay;
    const double grow = growStepDelay;
    switch (page) {
        case Page::MainMenuPage:
            setAllVisible(
                {ui_.pictb_logo4, ui_.label_sicherung, ui_.lb_anzeige, ui_.label_inhalt,
                 ui_.rtb_anzeige, ui_.pictb_anlegen, ui_.pictb_bearbeiten, ui_.pictb_loeschen,
                 ui_.pictb_starten, ui_.pictb_log_anzeigen, ui_.pictb_beenden},
                true);
            collapseAll();
            slideTo(ui_.pictb_logo4, 13, 115, move);
            slideTo(ui_.label_sicherung, 150, 10, move);
            slideTo(ui_.lb_anzeige, 150, 30, move);
            slideTo(ui_.label_inhalt, 150, 210, move);
            slideTo(ui_.rtb_anzeige, 150, 230, move);
            slideTo(ui_.pictb_anlegen, 663, 30, move);
            slideTo(ui_.pictb_bearbeiten, 663, 80, move);
            slideTo(ui_.pictb_loeschen, 663, 130, move);
            slideTo(ui_.pictb_starten, 663, 180, move);
            slideTo(ui_.pictb_log_anzeigen, 663, 370, move);
            slideTo(ui_.pictb_beenden, 663, 420, move);
            playPageOpenSound();
            growTo(ui_.pictb_logo4, 122, 302, grow);
            growTo(ui_.label_sicherung, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.label_inhalt, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.lb_anzeige, 500, 170, grow);
            growTo(ui_.rtb_anzeige, 500, 285, grow);
            for (QWidget* picture :
                 ControlList{ui_.pictb_anlegen, ui_.pictb_bearbeiten, ui_.pictb_loeschen,
                             ui_.pictb_starten, ui_.pictb_log_anzeigen, ui_.pictb_beenden}) {
                growTo(picture, kPictureSize.width(), kPictureSize.height(), grow);
            }
            setCommandPictures();
            ShowSelectedSetDetails();
            paintPending();
            break;
        case Page::EditorPage:
            for (QWidget* control : editorPageControls(ui_)) control->show();
            collapseAll();
            slideTo(ui_.pictb_tv_aktuell, 17, 485, move);
            slideTo(ui_.tv_dir, 17, 30, move);
            slideTo(ui_.label_pfad_waehlen, 17, 10, move);
            slideTo(ui_.pictb_ziel, 276, 435, move);
            slideTo(ui_.pictb_quelle_aloeschen, 276, 180, move);
            slideTo(ui_.pictb_quelle_loeschen, 276, 130, move);
            slideTo(ui_.pictb_quelle, 276, 80, move);
            slideTo(ui_.combo_tag, 360, 495, move);
            slideTo(ui_.textb_name_der_sicherung, 360, 30, move);
            slideTo(ui_.label_name_der_sicherung, 360, 10, move);
            slideTo(ui_.label_wann, 360, 475, move);
            slideTo(ui_.label_zeit, 540, 475, move);
            slideTo(ui_.checkbox_aktiv, 620, 495, move);
            slideTo(ui_.label_aktiv, 620, 475, move);
            slideTo(ui_.textb_nach, 360, 445, move);
            slideTo(ui_.label_nach, 360, 425, move);
            slideTo(ui_.lb_von, 360, 80, move);
            slideTo(ui_.label_von, 360, 60, move);
            slideTo(ui_.mtextb_uhr, 540, 495, move);
            slideTo(ui_.pictb_sicherung_speichern, 663, 30, move);
            slideTo(ui_.pictb_sicherung_verwerfen, 663, 80, move);
            playPageOpenSound();
            ui_.textb_dummy->hide();
            ui_.combo_tag->show();
            ui_.mtextb_uhr->show();
            growTo(ui_.label_pfad_waehlen, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.tv_dir, 250, 445, grow);
            growTo(ui_.pictb_tv_aktuell, kPictureSize.width(), kPictureSize.height(), grow);
            for (QWidget* picture : ControlList{ui_.pictb_quelle, ui_.pictb_quelle_loeschen,
                                                ui_.pictb_quelle_aloeschen, ui_.pictb_ziel}) {
                growTo(picture, kSmallPictureSize.width(), kSmallPictureSize.height(), grow);
            }
            growTo(ui_.label_name_der_sicherung, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.textb_name_der_sicherung, 290, 20, grow);
            growTo(ui_.label_von, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.lb_von, 290, 335, grow);
            growTo(ui_.label_nach, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.textb_nach, 290, 20, grow);
            growTo(ui_.label_wann, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.label_zeit, 50, 13, grow);
            growTo(ui_.label_aktiv, 50, 13, grow);
            growTo(ui_.checkbox_aktiv, 50, 20, grow);
            growTo(ui_.combo_tag, 150, 20, grow);
            growTo(ui_.mtextb_uhr, 50, 20, grow);
            growTo(ui_.pictb_sicherung_speichern, kPictureSize.width(), kPictureSize.height(),
                   grow);
            growTo(ui_.pictb_sicherung_verwerfen, kPictureSize.width(), kPictureSize.height(),
                   grow);
            setSavePicture(false);
            paintPending();
            break;
        case Page::LogPage:
            setAllVisible(
                {ui_.label_log, ui_.rtb_anzeige, ui_.pictb_log_loeschen, ui_.pictb_log_schliessen},
                true);
            slideTo(ui_.rtb_anzeige, 150, 30, move);
            slideTo(ui_.label_log, 150, 10, move);
            slideTo(ui_.pictb_log_schliessen, 663, 80, move);
            slideTo(ui_.pictb_log_loeschen, 663, 30, move);
            playPageOpenSound();
            growTo(ui_.label_log, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(ui_.rtb_anzeige, 500, 484, grow);
            growTo(ui_.pictb_log_loeschen, kPictureSize.width(), kPictureSize.height(), grow);
            growTo(ui_.pictb_log_schliessen, kPictureSize.width(), kPictureSize.height(), grow);
            paintPending();
            break;
    }
}

void Form1::hidePage(Page page) {
    const double move = moveStepDelay;
    const double grow = growStepDelay;
    playPageCloseSound();
    switch (page) {
        case Page::MainMenuPage: {
            const ControlList pictures{ui_.pictb_beenden,    ui_.pictb_log_anzeigen,
                                       ui_.pictb_starten,    ui_.pictb_loeschen,
                                       ui_.pictb_bearbeiten, ui_.pictb_anlegen};
            const ControlList others{ui_.rtb_anzeige, ui_.label_inhalt, ui_.lb_anzeige,
                                     ui_.label_sicherung, ui_.pictb_logo4};
            for (QWidget* control : pictures) growTo(control, 0, 0, grow);
            for (QWidget* control : others) growTo(control, 0, 0, grow);
            for (QWidget* control : pictures) slideTo(control, 663, 30, move);
            for (QWidget* control : others) slideTo(control, 20, 10, move);
            paintPending();
            setAllVisible(pictures, false);
            setAllVisible(others, false);
            break;
        }
        case Page::EditorPage: {
            const ControlList saveAndDiscard{ui_.pictb_sicherung_verwerfen,
                                             ui_.pictb_sicherung_speichern};
            const ControlList first{
                ui_.pictb_tv_aktuell, ui_.label_pfad_waehlen, ui_.checkbox_aktiv, ui_.label_aktiv,
                ui_.textb_dummy,      ui_.label_zeit,         ui_.combo_tag,      ui_.label_wann,
                ui_.textb_nach,       ui_.label_nach,         ui_.lb_von,         ui_.label_von};
            const ControlList second{
                ui_.pictb_quelle, ui_.pictb_quelle_loeschen,    ui_.pictb_quelle_aloeschen,
                ui_.pictb_ziel,   ui_.textb_name_der_sicherung, ui_.label_name_der_sicherung,
                ui_.tv_dir};
            for (QWidget* control : saveAndDiscard) growTo(control, 0, 0, grow);
            for (QWidget* control : first) growTo(control, 0, 0, grow);
            setAllVisible({ui_.textb_dummy, ui_.mtextb_uhr, ui_.combo_tag}, false);
            for (QWidget* control : second) growTo(control, 0, 0, grow);
            for (QWidget* control : first) slideTo(control, 20, 10, move);
            for (QWidget* control : second) slideTo(control, 20, 10, move);
            for (QWidget* control : saveAndDiscard) slideTo(control, 663, 30, move);
            paintPending();
            for (QWidget* control : editorPageControls(ui_)) control->hide();
            ui_.mtextb_uhr->hide();
            break;
        }
        case Page::LogPage: {
            const ControlList controls{ui_.pictb_log_schliessen, ui_.pictb_log_loeschen,
                                       ui_.rtb_anzeige, ui_.label_log};
            for (QWidget* control : controls) growTo(control, 0, 0, grow);
            slideTo(ui_.label_log, 20, 10, move);
            slideTo(ui_.rtb_anzeige, 20, 10, move);
            slideTo(ui_.pictb_log_schliessen, 663, 30, move);
            slideTo(ui_.pictb_log_loeschen, 663, 30, move);
            paintPending();
            setAllVisible(controls, false);
            break;
        }
    }
}

void Form1::setCommandPictures() {
    commandState = setCounter <= 0;
    for (PictureBox* picture : {ui_.pictb_bearbeiten, ui_.pictb_loeschen, ui_.pictb_starten}) {
        picture->showStateBitmap();
    }
}

void Form1::setTargetPicture(bool on) {
    targetState = !on;
    ui_.pictb_ziel->showStateBitmap();
}

void Form1::setSavePicture(bool on) {
    saveState = !on;
    ui_.pictb_sicherung_speichern->showStateBitmap();
}

void Form1::setSourcePicture(bool on) {
    sourceState = !on;
    ui_.pictb_quelle->showStateBitmap();
}

}  // namespace vaultrix
