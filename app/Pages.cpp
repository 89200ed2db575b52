// The three pages of the main window: which controls they show, where, and how big, and the
// moves that take a control there.
#include "app/Pages.h"

#include <QThread>
#include <QWidget>

namespace vaultrix {

namespace {

using Step = PageStep;

constexpr Step shown(const char* control) {
    return {Step::show, control};
}
constexpr Step hidden(const char* control) {
    return {Step::hide, control};
}
constexpr Step place(const char* control, int x, int y) {
    return {Step::place, control, x, y};
}
constexpr Step grow(const char* control, int width, int height) {
    return {Step::size, control, width, height};
}
constexpr Step shrink(const char* control) {
    return grow(control, 0, 0);
}
constexpr Step kCollapse{Step::collapse};
constexpr Step kOpenSound{Step::openSound};
constexpr Step kCloseSound{Step::closeSound};
constexpr Step kPaint{Step::paint};

// The sizes of a label, of an editor side button and of a command button.
constexpr int kLabelWidth = 150, kLabelHeight = 13;
constexpr int kSmallPictureWidth = 77, kSmallPictureHeight = 35;
constexpr int kPictureWidth = 119, kPictureHeight = 35;

// clang-format off
// Every page control shrunk to nothing; run without pauses.
constexpr Step kCollapseAll[] = {
    shrink("pictb_logo4"), shrink("pictb_beenden"), shrink("pictb_log_anzeigen"),
    shrink("pictb_starten"), shrink("pictb_loeschen"), shrink("pictb_bearbeiten"),
    shrink("pictb_anlegen"), shrink("rtb_anzeige"), shrink("label_inhalt"), shrink("lb_anzeige"),
    shrink("label_sicherung"), shrink("pictb_sicherung_verwerfen"),
    shrink("pictb_sicherung_speichern"), shrink("pictb_tv_aktuell"), shrink("label_pfad_waehlen"),
    shrink("checkbox_aktiv"), shrink("label_aktiv"), shrink("textb_dummy"), shrink("label_zeit"),
    shrink("combo_tag"), shrink("label_wann"), shrink("textb_nach"), shrink("label_nach"),
    shrink("lb_von"), shrink("label_von"), shrink("pictb_quelle"), shrink("pictb_quelle_loeschen"),
    shrink("pictb_quelle_aloeschen"), shrink("pictb_ziel"), shrink("textb_name_der_sicherung"),
    shrink("label_name_der_sicherung"), shrink("tv_dir"), shrink("label_log"),
    shrink("pictb_log_schliessen"), shrink("pictb_log_loeschen"),
    place("label_log", 20, 10), place("rtb_anzeige", 20, 10)};

constexpr Step kShowMainMenuPage[] = {
    shown("pictb_logo4"), shown("label_sicherung"), shown("lb_anzeige"), shown("label_inhalt"),
    shown("rtb_anzeige"), shown("pictb_anlegen"), shown("pictb_bearbeiten"),
    shown("pictb_loeschen"), shown("pictb_starten"), shown("pictb_log_anzeigen"),
    shown("pictb_beenden"),
    kCollapse,
    place("pictb_logo4", 13, 115),
    place("label_sicherung", 150, 10),
    place("lb_anzeige", 150, 30),
    place("label_inhalt", 150, 210),
    place("rtb_anzeige", 150, 230),
    place("pictb_anlegen", 663, 30),
    place("pictb_bearbeiten", 663, 80),
    place("pictb_loeschen", 663, 130),
    place("pictb_starten", 663, 180),
    place("pictb_log_anzeigen", 663, 370),
    place("pictb_beenden", 663, 420),
    kOpenSound,
    grow("pictb_logo4", 122, 302),
    grow("label_sicherung", kLabelWidth, kLabelHeight),
    grow("label_inhalt", kLabelWidth, kLabelHeight),
    grow("lb_anzeige", 500, 170),
    grow("rtb_anzeige", 500, 285),
    grow("pictb_anlegen", kPictureWidth, kPictureHeight),
    grow("pictb_bearbeiten", kPictureWidth, kPictureHeight),
    grow("pictb_loeschen", kPictureWidth, kPictureHeight),
    grow("pictb_starten", kPictureWidth, kPictureHeight),
    grow("pictb_log_anzeigen", kPictureWidth, kPictureHeight),
    grow("pictb_beenden", kPictureWidth, kPictureHeight)};

constexpr Step kHideMainMenuPage[] = {
    kCloseSound,
    shrink("pictb_beenden"), shrink("pictb_log_anzeigen"), shrink("pictb_starten"),
    shrink("pictb_loeschen"), shrink("pictb_bearbeiten"), shrink("pictb_anlegen"),
    shrink("rtb_anzeige"), shrink("label_inhalt"), shrink("lb_anzeige"),
    shrink("label_sicherung"), shrink("pictb_logo4"),
    place("pictb_beenden", 663, 30), place("pictb_log_anzeigen", 663, 30),
    place("pictb_starten", 663, 30), place("pictb_loeschen", 663, 30),
    place("pictb_bearbeiten", 663, 30), place("pictb_anlegen", 663, 30),
    place("label_sicherung", 20, 10), place("lb_anzeige", 20, 10),
    place("label_inhalt", 20, 10), place("rtb_anzeige", 20, 10), place("pictb_logo4", 20, 10),
    kPaint,
    hidden("pictb_beenden"), hidden("pictb_log_anzeigen"), hidden("pictb_starten"),
    hidden("pictb_loeschen"), hidden("pictb_bearbeiten"), hidden("pictb_anlegen"),
    hidden("rtb_anzeige"), hidden("label_inhalt"), hidden("lb_anzeige"),
    hidden("label_sicherung"), hidden("pictb_logo4")};

constexpr Step kShowEditorPage[] = {
    shown("label_pfad_waehlen"), shown("tv_dir"), shown("pictb_tv_aktuell"),
    shown("pictb_quelle"), shown("pictb_quelle_loeschen"), shown("pictb_quelle_aloeschen"),
    shown("pictb_ziel"), shown("label_name_der_sicherung"), shown("textb_name_der_sicherung"),
    shown("label_von"), shown("lb_von"), shown("label_nach"), shown("textb_nach"),
    shown("label_wann"), shown("combo_tag"), shown("label_zeit"), shown("label_aktiv"),
    shown("checkbox_aktiv"), shown("pictb_sicherung_speichern"),
    shown("pictb_sicherung_verwerfen"),
    kCollapse,
    place("pictb_tv_aktuell", 17, 485),
    place("tv_dir", 17, 30),
    place("label_pfad_waehlen", 17, 10),
    place("pictb_ziel", 276, 435),
    place("pictb_quelle_aloeschen", 276, 180),
    place("pictb_quelle_loeschen", 276, 130),
    place("pictb_quelle", 276, 80),
    place("combo_tag", 360, 495),
    place("textb_name_der_sicherung", 360, 30),
    place("label_name_der_sicherung", 360, 10),
    place("label_wann", 360, 475),
    place("label_zeit", 540, 475),
    place("checkbox_aktiv", 620, 495),
    place("label_aktiv", 620, 475),
    place("textb_nach", 360, 445),
    place("label_nach", 360, 425),
    place("lb_von", 360, 80),
    place("label_von", 360, 60),
    place("mtextb_uhr", 540, 495),
    place("pictb_sicherung_speichern", 663, 30),
    place("pictb_sicherung_verwerfen", 663, 80),
    kOpenSound,
    hidden("textb_dummy"), shown("combo_tag"), shown("mtextb_uhr"),
    grow("label_pfad_waehlen", kLabelWidth, kLabelHeight),
    grow("tv_dir", 250, 445),
    grow("pictb_tv_aktuell", kPictureWidth, kPictureHeight),
    grow("pictb_quelle", kSmallPictureWidth, kSmallPictureHeight),
    grow("pictb_quelle_loeschen", kSmallPictureWidth, kSmallPictureHeight),
    grow("pictb_quelle_aloeschen", kSmallPictureWidth, kSmallPictureHeight),
    grow("pictb_ziel", kSmallPictureWidth, kSmallPictureHeight),
    grow("label_name_der_sicherung", kLabelWidth, kLabelHeight),
    grow("textb_name_der_sicherung", 290, 20),
    grow("label_von", kLabelWidth, kLabelHeight),
    grow("lb_von", 290, 335),
    grow("label_nach", kLabelWidth, kLabelHeight),
    grow("textb_nach", 290, 20),
    grow("label_wann", kLabelWidth, kLabelHeight),
    grow("label_zeit", 50, 13),
    grow("label_aktiv", 50, 13),
    grow("checkbox_aktiv", 50, 20),
    grow("combo_tag", 150, 20),
    grow("mtextb_uhr", 50, 20),
    grow("pictb_sicherung_speichern", kPictureWidth, kPictureHeight),
    grow("pictb_sicherung_verwerfen", kPictureWidth, kPictureHeight)};

constexpr Step kHideEditorPage[] = {
    kCloseSound,
    shrink("pictb_sicherung_verwerfen"), shrink("pictb_sicherung_speichern"),
    shrink("pictb_tv_aktuell"), shrink("label_pfad_waehlen"), shrink("checkbox_aktiv"),
    shrink("label_aktiv"), shrink("textb_dummy"), shrink("label_zeit"), shrink("combo_tag"),
    shrink("label_wann"), shrink("textb_nach"), shrink("label_nach"), shrink("lb_von"),
    shrink("label_von"),
    hidden("textb_dummy"), hidden("mtextb_uhr"), hidden("combo_tag"),
    shrink("pictb_quelle"), shrink("pictb_quelle_loeschen"), shrink("pictb_quelle_aloeschen"),
    shrink("pictb_ziel"), shrink("textb_name_der_sicherung"), shrink("label_name_der_sicherung"),
    shrink("tv_dir"),
    place("pictb_sicherung_verwerfen", 663, 30), place("pictb_sicherung_speichern", 663, 30),
    place("pictb_tv_aktuell", 20, 10), place("label_pfad_waehlen", 20, 10),
    place("checkbox_aktiv", 20, 10), place("label_aktiv", 20, 10), place("textb_dummy", 20, 10),
    place("label_zeit", 20, 10), place("combo_tag", 20, 10), place("label_wann", 20, 10),
    place("textb_nach", 20, 10), place("label_nach", 20, 10), place("lb_von", 20, 10),
    place("label_von", 20, 10), place("pictb_quelle", 20, 10),
    place("pictb_quelle_loeschen", 20, 10), place("pictb_quelle_aloeschen", 20, 10),
    place("pictb_ziel", 20, 10), place("textb_name_der_sicherung", 20, 10),
    place("label_name_der_sicherung", 20, 10), place("tv_dir", 20, 10),
    kPaint,
    hidden("label_pfad_waehlen"), hidden("tv_dir"), hidden("pictb_tv_aktuell"),
    hidden("pictb_quelle"), hidden("pictb_quelle_loeschen"), hidden("pictb_quelle_aloeschen"),
    hidden("pictb_ziel"), hidden("label_name_der_sicherung"), hidden("textb_name_der_sicherung"),
    hidden("label_von"), hidden("lb_von"), hidden("label_nach"), hidden("textb_nach"),
    hidden("label_wann"), hidden("combo_tag"), hidden("label_zeit"), hidden("label_aktiv"),
    hidden("checkbox_aktiv"), hidden("pictb_sicherung_speichern"),
    hidden("pictb_sicherung_verwerfen"), hidden("mtextb_uhr")};

// It always follows the main page's closing, so it collapses nothing.
constexpr Step kShowLogPage[] = {
    shown("label_log"), shown("rtb_anzeige"), shown("pictb_log_loeschen"),
    shown("pictb_log_schliessen"),
    place("rtb_anzeige", 150, 30),
    place("label_log", 150, 10),
    place("pictb_log_schliessen", 663, 80),
    place("pictb_log_loeschen", 663, 30),
    kOpenSound,
    grow("label_log", kLabelWidth, kLabelHeight),
    grow("rtb_anzeige", 500, 484),
    grow("pictb_log_loeschen", kPictureWidth, kPictureHeight),
    grow("pictb_log_schliessen", kPictureWidth, kPictureHeight)};

constexpr Step kHideLogPage[] = {
    kCloseSound,
    shrink("pictb_log_schliessen"), shrink("pictb_log_loeschen"), shrink("rtb_anzeige"),
    shrink("label_log"),
    place("label_log", 20, 10), place("rtb_anzeige", 20, 10),
    place("pictb_log_schliessen", 663, 30), place("pictb_log_loeschen", 663, 30),
    kPaint,
    hidden("pictb_log_schliessen"), hidden("pictb_log_loeschen"), hidden("rtb_anzeige"),
    hidden("label_log")};
// clang-format on

}  // namespace

std::span<const PageStep> collapseSteps() {
    return kCollapseAll;
}

std::span<const PageStep> showSteps(Page page) {
    switch (page) {
        case Page::MainMenuPage:
            return kShowMainMenuPage;
        case Page::EditorPage:
            return kShowEditorPage;
        case Page::LogPage:
            return kShowLogPage;
    }
    return {};
}

std::span<const PageStep> hideSteps(Page page) {
    switch (page) {
        case Page::MainMenuPage:
            return kHideMainMenuPage;
        case Page::EditorPage:
            return kHideEditorPage;
        case Page::LogPage:
            return kHideLogPage;
    }
    return {};
}

namespace {

// The pause between two animation steps, cut to whole milliseconds; none only yields.
void pauseFor(double delay) {
    const auto milliseconds = static_cast<unsigned long>(delay);
    if (milliseconds > 0) {
        QThread::msleep(milliseconds);
    } else {
        QThread::yieldCurrentThread();
    }
}

}  // namespace

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

}  // namespace vaultrix
