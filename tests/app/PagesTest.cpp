#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <utility>
#include <vector>

#include "FormFixture.h"
#include "app/Pages.h"
#include "shell/PictureBox.h"

namespace vaultrix::test {
namespace {

using Placed = std::vector<std::pair<const char*, QRect>>;

const Placed kMainPage{
    {"pictb_logo4", {13, 115, 122, 302}},     {"label_sicherung", {150, 10, 150, 13}},
    {"lb_anzeige", {150, 30, 500, 170}},      {"label_inhalt", {150, 210, 150, 13}},
    {"rtb_anzeige", {150, 230, 500, 285}},    {"pictb_anlegen", {663, 30, 119, 35}},
    {"pictb_bearbeiten", {663, 80, 119, 35}}, {"pictb_loeschen", {663, 130, 119, 35}},
    {"pictb_starten", {663, 180, 119, 35}},   {"pictb_log_anzeigen", {663, 370, 119, 35}},
    {"pictb_beenden", {663, 420, 119, 35}}};

const Placed kEditorPage{{"pictb_tv_aktuell", {17, 485, 119, 35}},
                         {"tv_dir", {17, 30, 250, 445}},
                         {"label_pfad_waehlen", {17, 10, 150, 13}},
                         {"pictb_ziel", {276, 435, 77, 35}},
                         {"pictb_quelle_aloeschen", {276, 180, 77, 35}},
                         {"pictb_quelle_loeschen", {276, 130, 77, 35}},
                         {"pictb_quelle", {276, 80, 77, 35}},
                         {"combo_tag", {360, 495, 150, 20}},
                         {"textb_name_der_sicherung", {360, 30, 290, 20}},
                         {"label_name_der_sicherung", {360, 10, 150, 13}},
                         {"label_wann", {360, 475, 150, 13}},
                         {"label_zeit", {540, 475, 50, 13}},
                         {"checkbox_aktiv", {620, 495, 50, 20}},
                         {"label_aktiv", {620, 475, 50, 13}},
                         {"textb_nach", {360, 445, 290, 20}},
                         {"label_nach", {360, 425, 150, 13}},
                         {"lb_von", {360, 80, 290, 335}},
                         {"label_von", {360, 60, 150, 13}},
                         {"mtextb_uhr", {540, 495, 50, 20}},
                         {"pictb_sicherung_speichern", {663, 30, 119, 35}},
                         {"pictb_sicherung_verwerfen", {663, 80, 119, 35}}};

const Placed kLogPage{{"rtb_anzeige", {150, 30, 500, 484}},
                      {"label_log", {150, 10, 150, 13}},
                      {"pictb_log_schliessen", {663, 80, 119, 35}},
                      {"pictb_log_loeschen", {663, 30, 119, 35}}};

// Every control of the page is visible at its place; every control of the other pages that is
// not on this one is out of sight: hidden, shrunk to nothing or outside the client area.
void expectPage(const Form1& form, const Placed& page, std::vector<const Placed*> others) {
    for (const auto& [name, rect] : page) {
        const auto* control = form.findChild<QWidget*>(QString::fromUtf8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->geometry(), rect) << name;
        EXPECT_TRUE(control->isVisible()) << name;
    }
    for (const Placed* other : others) {
        for (const auto& [name, rect] : *other) {
            const bool onThisPage = std::any_of(page.begin(), page.end(),
                                                [&](const auto& row) { return row.first == name; });
            if (onThisPage) continue;
            const auto* control = form.findChild<QWidget*>(QString::fromUtf8(name));
            const bool inSight = control->isVisible() &&
                                 control->geometry().intersects(form.centralWidget()->rect());
            EXPECT_FALSE(inSight) << name;
        }
    }
}

TEST_F(FormTest, EveryPageTransitionLeavesEachControlAtItsPlace) {
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    Form1& window = startForm();
    expectPage(window, kMainPage, {&kEditorPage, &kLogPage});

    clickPicture(control<PictureBox>("pictb_anlegen"));
    expectPage(window, kEditorPage, {&kMainPage, &kLogPage});
    EXPECT_FALSE(control<QLineEdit>("textb_dummy")->isVisible());

    clickPicture(control<PictureBox>("pictb_sicherung_verwerfen"));
    expectPage(window, kMainPage, {&kEditorPage, &kLogPage});

    clickPicture(control<PictureBox>("pictb_bearbeiten"));
    expectPage(window, kEditorPage, {&kMainPage, &kLogPage});
    clickPicture(control<PictureBox>("pictb_sicherung_verwerfen"));

    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    expectPage(window, kLogPage, {&kMainPage, &kEditorPage});

    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    expectPage(window, kMainPage, {&kEditorPage, &kLogPage});
    EXPECT_EQ(control<QTextEdit>("rtb_anzeige")->geometry(), QRect(150, 230, 500, 285));
    EXPECT_TRUE(control<QTextEdit>("rtb_anzeige")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Sicherungsname: Daten")));
}

TEST_F(FormTest, ControlsOutsideThePagesKeepTheirLayoutPlaceAndHiddenButtonsStayHidden) {
    Form1& window = startForm();
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    // 441, 292, 80, 24 in dialog units.
    EXPECT_EQ(control<QLabel>("label_datum_zeit")->geometry(), QRect(661, 474, 120, 39));
    EXPECT_TRUE(control<QLabel>("label_datum_zeit")->isVisible());
    EXPECT_TRUE(control<QLabel>("anim_1")->isVisible());
    EXPECT_TRUE(control<QLabel>("anim_1")->text().isEmpty());
    for (QWidget* button : window.findChildren<QPushButton*>()) {
        if (button->objectName().startsWith(QStringLiteral("cb_"))) {
            EXPECT_FALSE(button->isVisible()) << button->objectName().toStdString();
        }
    }
    EXPECT_FALSE(control<QLabel>("label_1")->isVisible());
}

TEST_F(FormTest, WithAnimationOnThePagesGrowToTheSameLayout) {
    writeSettings("[SOUNDANI]\r\nstatus=1\r\n");
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    Form1& window = startForm();
    expectPage(window, kMainPage, {&kEditorPage, &kLogPage});
    clickPicture(control<PictureBox>("pictb_anlegen"));
    expectPage(window, kEditorPage, {&kMainPage, &kLogPage});
    clickPicture(control<PictureBox>("pictb_sicherung_verwerfen"));
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    expectPage(window, kLogPage, {&kMainPage, &kEditorPage});
    clickPicture(control<PictureBox>("pictb_log_schliessen"));
    expectPage(window, kMainPage, {&kEditorPage, &kLogPage});
}

TEST_F(FormTest, SlideAndGrowEndExactlyAtTheirTarget) {
    Form1& window = startForm();
    QLabel probe(window.centralWidget());
    for (const QRect start : {QRect(10, 10, 0, 0), QRect(300, 200, 80, 90)}) {
        probe.setGeometry(start);
        slideTo(&probe, 40, 25, 0.5);
        growTo(&probe, 30, 12, 0.5);
        EXPECT_EQ(probe.geometry(), QRect(40, 25, 30, 12));
    }
}

// Every size a control takes while it grows.
class SizeRecorder final : public QObject {
public:
    explicit SizeRecorder(QWidget* control) { control->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            sizes.push_back(static_cast<QWidget*>(watched)->size());
        return false;
    }
    std::vector<QSize> sizes;
};

TEST_F(FormTest, WithAnimationOnAPictureGrowsPixelByPixelAndSettlesAtItsSize) {
    writeSettings("[SOUNDANI]\r\nstatus=1\r\n");
    startForm();
    SizeRecorder grown(control("pictb_log_loeschen"));
    clickPicture(control("pictb_log_anzeigen"));
    // The size it was given while hidden arrives as it is shown.
    if (!grown.sizes.empty() && grown.sizes.front().isNull())
        grown.sizes.erase(grown.sizes.begin());
    // From nothing: wider to 119, then taller to one past 35, back, one wider, back.
    std::vector<QSize> expected;
    for (int w = 1; w <= 119; ++w) expected.emplace_back(w, 0);
    for (int h = 1; h <= 36; ++h) expected.emplace_back(119, h);
    expected.insert(expected.end(), {QSize(119, 35), QSize(120, 35), QSize(119, 35)});
    EXPECT_EQ(grown.sizes, expected);
}

TEST_F(FormTest, PageChangesPlayTheirSoundsOnlyWithAnimationOn) {
    startForm();
    QTest::mouseMove(control<PictureBox>("pictb_log_anzeigen"), QPoint(3, 3));
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    EXPECT_TRUE(sounds.played.isEmpty());
    form.reset();

    writeSettings("[SOUNDANI]\r\nstatus=1\r\n");
    startForm();
    sounds.played.clear();
    clickPicture(control<PictureBox>("pictb_log_anzeigen"));
    EXPECT_EQ(sounds.played, (QStringList{QStringLiteral("KLICK"), QStringLiteral("MENUE_ZU"),
                                          QStringLiteral("MENUE_AUF")}));
}

TEST_F(FormTest, HoverSoundPlaysOnceUntilTheMouseCrossesTheBackground) {
    writeSettings("[SOUNDANI]\r\nstatus=1\r\n");
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    Form1& window = startForm();
    sounds.played.clear();
    QTest::mouseMove(control<PictureBox>("pictb_anlegen"), QPoint(3, 3));
    QTest::mouseMove(control<PictureBox>("pictb_anlegen"), QPoint(6, 6));
    QTest::mouseMove(control<PictureBox>("pictb_bearbeiten"), QPoint(3, 3));
    EXPECT_EQ(sounds.played, QStringList{QStringLiteral("MOVE")});
    QTest::mouseMove(window.centralWidget(), QPoint(400, 540));
    QTest::mouseMove(control<PictureBox>("pictb_bearbeiten"), QPoint(3, 3));
    EXPECT_EQ(sounds.played, (QStringList{QStringLiteral("MOVE"), QStringLiteral("MOVE")}));
}

}  // namespace
}  // namespace vaultrix::test
