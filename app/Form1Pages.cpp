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
#include "app/Form1.h"
#include "shell/PictureBox.h"

namespace vaultrix {

namespace {

using Controls = std::initializer_list<QWidget*>;

// The pause between two animation steps, cut to whole milliseconds; none only yields.
void pauseFor(double delay) {
    const auto milliseconds = static_cast<unsigned long>(delay);
    if (milliseconds > 0) {
        QThread::msleep(milliseconds);
    } else {
        QThread::yieldCurrentThread();
    }
}

void setAllVisible(Controls controls, bool visible) {
    for (QWidget* control : controls) control->setVisible(visible);
}

// The controls the editor page shows as it opens and hides as it closes.
std::vector<QWidget*> editorPageControls(const Form1& form) {
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
    soundAnimationOn = settings_.soundAnimationOn();
    moveStepDelay = 0.0;
    growStepDelay = soundAnimationOn ? 0.5 : 0.0;
}

void Form1::slideTo(QWidget* control, int x, int y, double delay) {
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

void Form1::growTo(QWidget* control, int width, int height, double delay) {
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
    for (QWidget* control : Controls{pictb_logo4,
                                     pictb_beenden,
                                     pictb_log_anzeigen,
                                     pictb_starten,
                                     pictb_loeschen,
                                     pictb_bearbeiten,
                                     pictb_anlegen,
                                     rtb_anzeige,
                                     label_inhalt,
                                     lb_anzeige,
                                     label_sicherung,
                                     pictb_sicherung_verwerfen,
                                     pictb_sicherung_speichern,
                                     pictb_tv_aktuell,
                                     label_pfad_waehlen,
                                     checkbox_aktiv,
                                     label_aktiv,
                                     textb_dummy,
                                     label_zeit,
                                     combo_tag,
                                     label_wann,
                                     textb_nach,
                                     label_nach,
                                     lb_von,
                                     label_von,
                                     pictb_quelle,
                                     pictb_quelle_loeschen,
                                     pictb_quelle_aloeschen,
                                     pictb_ziel,
                                     textb_name_der_sicherung,
                                     label_name_der_sicherung,
                                     tv_dir,
                                     label_log,
                                     pictb_log_schliessen,
                                     pictb_log_loeschen}) {
        control->resize(0, 0);
    }
    label_log->move(20, 10);
    rtb_anzeige->move(20, 10);
}

void Form1::paintPending() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

void Form1::showPage(Page page) {
    const double move = moveStepDelay;
    const double grow = growStepDelay;
    switch (page) {
        case Page::MainMenuPage:
            setAllVisible({pictb_logo4, label_sicherung, lb_anzeige, label_inhalt, rtb_anzeige,
                           pictb_anlegen, pictb_bearbeiten, pictb_loeschen, pictb_starten,
                           pictb_log_anzeigen, pictb_beenden},
                          true);
            collapseAll();
            slideTo(pictb_logo4, 13, 115, move);
            slideTo(label_sicherung, 150, 10, move);
            slideTo(lb_anzeige, 150, 30, move);
            slideTo(label_inhalt, 150, 210, move);
            slideTo(rtb_anzeige, 150, 230, move);
            slideTo(pictb_anlegen, 663, 30, move);
            slideTo(pictb_bearbeiten, 663, 80, move);
            slideTo(pictb_loeschen, 663, 130, move);
            slideTo(pictb_starten, 663, 180, move);
            slideTo(pictb_log_anzeigen, 663, 370, move);
            slideTo(pictb_beenden, 663, 420, move);
            playPageOpenSound();
            growTo(pictb_logo4, 122, 302, grow);
            growTo(label_sicherung, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(label_inhalt, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(lb_anzeige, 500, 170, grow);
            growTo(rtb_anzeige, 500, 285, grow);
            for (QWidget* picture : Controls{pictb_anlegen, pictb_bearbeiten, pictb_loeschen,
                                             pictb_starten, pictb_log_anzeigen, pictb_beenden}) {
                growTo(picture, kPictureSize.width(), kPictureSize.height(), grow);
            }
            setCommandPictures();
            ShowSelectedSetDetails();
            paintPending();
            break;
        case Page::EditorPage:
            for (QWidget* control : editorPageControls(*this)) control->show();
            collapseAll();
            slideTo(pictb_tv_aktuell, 17, 485, move);
            slideTo(tv_dir, 17, 30, move);
            slideTo(label_pfad_waehlen, 17, 10, move);
            slideTo(pictb_ziel, 276, 435, move);
            slideTo(pictb_quelle_aloeschen, 276, 180, move);
            slideTo(pictb_quelle_loeschen, 276, 130, move);
            slideTo(pictb_quelle, 276, 80, move);
            slideTo(combo_tag, 360, 495, move);
            slideTo(textb_name_der_sicherung, 360, 30, move);
            slideTo(label_name_der_sicherung, 360, 10, move);
            slideTo(label_wann, 360, 475, move);
            slideTo(label_zeit, 540, 475, move);
            slideTo(checkbox_aktiv, 620, 495, move);
            slideTo(label_aktiv, 620, 475, move);
            slideTo(textb_nach, 360, 445, move);
            slideTo(label_nach, 360, 425, move);
            slideTo(lb_von, 360, 80, move);
            slideTo(label_von, 360, 60, move);
            slideTo(mtextb_uhr, 540, 495, move);
            slideTo(pictb_sicherung_speichern, 663, 30, move);
            slideTo(pictb_sicherung_verwerfen, 663, 80, move);
            playPageOpenSound();
            textb_dummy->hide();
            combo_tag->show();
            mtextb_uhr->show();
            growTo(label_pfad_waehlen, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(tv_dir, 250, 445, grow);
            growTo(pictb_tv_aktuell, kPictureSize.width(), kPictureSize.height(), grow);
            for (QWidget* picture : Controls{pictb_quelle, pictb_quelle_loeschen,
                                             pictb_quelle_aloeschen, pictb_ziel}) {
                growTo(picture, kSmallPictureSize.width(), kSmallPictureSize.height(), grow);
            }
            growTo(label_name_der_sicherung, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(textb_name_der_sicherung, 290, 20, grow);
            growTo(label_von, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(lb_von, 290, 335, grow);
            growTo(label_nach, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(textb_nach, 290, 20, grow);
            growTo(label_wann, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(label_zeit, 50, 13, grow);
            growTo(label_aktiv, 50, 13, grow);
            growTo(checkbox_aktiv, 50, 20, grow);
            growTo(combo_tag, 150, 20, grow);
            growTo(mtextb_uhr, 50, 20, grow);
            growTo(pictb_sicherung_speichern, kPictureSize.width(), kPictureSize.height(), grow);
            growTo(pictb_sicherung_verwerfen, kPictureSize.width(), kPictureSize.height(), grow);
            setSavePicture(false);
            paintPending();
            break;
        case Page::LogPage:
            setAllVisible({label_log, rtb_anzeige, pictb_log_loeschen, pictb_log_schliessen}, true);
            slideTo(rtb_anzeige, 150, 30, move);
            slideTo(label_log, 150, 10, move);
            slideTo(pictb_log_schliessen, 663, 80, move);
            slideTo(pictb_log_loeschen, 663, 30, move);
            playPageOpenSound();
            growTo(label_log, kLabelSize.width(), kLabelSize.height(), grow);
            growTo(rtb_anzeige, 500, 484, grow);
            growTo(pictb_log_loeschen, kPictureSize.width(), kPictureSize.height(), grow);
            growTo(pictb_log_schliessen, kPictureSize.width(), kPictureSize.height(), grow);
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
            const Controls pictures{pictb_beenden,  pictb_log_anzeigen, pictb_starten,
                                    pictb_loeschen, pictb_bearbeiten,   pictb_anlegen};
            const Controls others{rtb_anzeige, label_inhalt, lb_anzeige, label_sicherung,
                                  pictb_logo4};
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
            const Controls saveAndDiscard{pictb_sicherung_verwerfen, pictb_sicherung_speichern};
            const Controls first{pictb_tv_aktuell, label_pfad_waehlen, checkbox_aktiv, label_aktiv,
                                 textb_dummy,      label_zeit,         combo_tag,      label_wann,
                                 textb_nach,       label_nach,         lb_von,         label_von};
            const Controls second{pictb_quelle, pictb_quelle_loeschen,    pictb_quelle_aloeschen,
                                  pictb_ziel,   textb_name_der_sicherung, label_name_der_sicherung,
                                  tv_dir};
            for (QWidget* control : saveAndDiscard) growTo(control, 0, 0, grow);
            for (QWidget* control : first) growTo(control, 0, 0, grow);
            setAllVisible({textb_dummy, mtextb_uhr, combo_tag}, false);
            for (QWidget* control : second) growTo(control, 0, 0, grow);
            for (QWidget* control : first) slideTo(control, 20, 10, move);
            for (QWidget* control : second) slideTo(control, 20, 10, move);
            for (QWidget* control : saveAndDiscard) slideTo(control, 663, 30, move);
            paintPending();
            for (QWidget* control : editorPageControls(*this)) control->hide();
            mtextb_uhr->hide();
            break;
        }
        case Page::LogPage: {
            const Controls controls{pictb_log_schliessen, pictb_log_loeschen, rtb_anzeige,
                                    label_log};
            for (QWidget* control : controls) growTo(control, 0, 0, grow);
            slideTo(label_log, 20, 10, move);
            slideTo(rtb_anzeige, 20, 10, move);
            slideTo(pictb_log_schliessen, 663, 30, move);
            slideTo(pictb_log_loeschen, 663, 30, move);
            paintPending();
            setAllVisible(controls, false);
            break;
        }
    }
}

void Form1::setCommandPictures() {
    commandState = setCounter <= 0;
    for (PictureBox* picture : {pictb_bearbeiten, pictb_loeschen, pictb_starten}) {
        picture->showStateBitmap();
    }
}

void Form1::setTargetPicture(bool on) {
    targetState = !on;
    pictb_ziel->showStateBitmap();
}

void Form1::setSavePicture(bool on) {
    saveState = !on;
    pictb_sicherung_speichern->showStateBitmap();
}

void Form1::setSourcePicture(bool on) {
    sourceState = !on;
    pictb_quelle->showStateBitmap();
}

}  // namespace vaultrix
