#include <QListWidget>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include "FormFixture.h"
#include "shell/PictureBox.h"

namespace vaultrix::test {
namespace {

// A picture of 119 × 35 that counts how often its command ran.
class PictureTest : public ::testing::Test {
protected:
    PictureTest() {
        picture.resize(119, 35);
        picture.setBitmaps({124, 125, 126});
        picture.setStateFlag(&inactive);
        picture.setCommand([this] { ++runs; });
        picture.setFollowUp([this] { ++followUps; });
        picture.show();
    }

    PictureBox picture;
    bool inactive = false;
    int runs = 0;
    int followUps = 0;
};

TEST_F(PictureTest, ReleaseRunsTheCommandInsideAndOnTheEdgesOnly) {
    for (const QPoint inside : {QPoint(0, 0), QPoint(119, 35), QPoint(119, 0), QPoint(0, 35)}) {
        clickPicture(&picture, inside);
    }
    EXPECT_EQ(runs, 4);
    for (const QPoint outside : {QPoint(120, 10), QPoint(10, 36), QPoint(-1, 10), QPoint(10, -1)}) {
        clickPicture(&picture, outside);
    }
    EXPECT_EQ(runs, 4);
    EXPECT_EQ(followUps, 8);
    EXPECT_EQ(picture.bitmapNumber(), 124);
}

TEST_F(PictureTest, PressedBitmapShowsWhileHeldAndTheNormalOneComesBack) {
    QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(picture.bitmapNumber(), 125);
    QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(picture.bitmapNumber(), 124);
}

TEST_F(PictureTest, AnInactivePictureShowsNoPressedBitmapAndRunsNothingButStillClicks) {
    inactive = true;
    picture.showStateBitmap();
    int clickSounds = 0;
    QObject::connect(&picture, &PictureBox::clickSoundDue, [&] { ++clickSounds; });
    QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(picture.bitmapNumber(), 126);
    QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(followUps, 0);
    EXPECT_EQ(clickSounds, 1);

    picture.setSilentWhileInactive(true);
    clickPicture(&picture);
    EXPECT_EQ(clickSounds, 1);
}

TEST_F(PictureTest, TheReleaseOrderDecidesWhichBitmapTheCommandSees) {
    int seen = 0;
    picture.setCommand([&] { seen = picture.bitmapNumber(); });
    clickPicture(&picture);
    EXPECT_EQ(seen, 125);
    picture.setReleaseOrder(ReleaseOrder::restoreFirst);
    clickPicture(&picture);
    EXPECT_EQ(seen, 124);
}

TEST_F(FormTest, WithoutSetsTheEditDeleteAndStartPicturesAreInactiveAndDoNothing) {
    startForm();
    EXPECT_EQ(control<PictureBox>("pictb_bearbeiten")->bitmapNumber(), 120);
    EXPECT_EQ(control<PictureBox>("pictb_loeschen")->bitmapNumber(), 123);
    EXPECT_EQ(control<PictureBox>("pictb_starten")->bitmapNumber(), 126);
    for (PictureBox* picture :
         {control<PictureBox>("pictb_bearbeiten"), control<PictureBox>("pictb_loeschen"),
          control<PictureBox>("pictb_starten")}) {
        clickPicture(picture);
    }
    EXPECT_EQ(control<QListWidget>("lb_anzeige")->geometry(), QRect(150, 30, 500, 170));
    EXPECT_TRUE(control<QTreeWidget>("tv_dir")->size().isEmpty());
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(FormTest, WithASetTheCommandPicturesAreActive) {
    storeSet("Daten", {folder("quelle")}, folder("ziel"));
    startForm();
    EXPECT_EQ(control<PictureBox>("pictb_bearbeiten")->bitmapNumber(), 118);
    EXPECT_EQ(control<PictureBox>("pictb_loeschen")->bitmapNumber(), 121);
    EXPECT_EQ(control<PictureBox>("pictb_starten")->bitmapNumber(), 124);
}

TEST_F(FormTest, TheNewSetPictureLeavesSourceTargetAndSaveInactive) {
    writeSettings("[SOUNDANI]\r\nstatus=1\r\n");
    startForm();
    clickPicture(control<PictureBox>("pictb_anlegen"));
    EXPECT_EQ(control<PictureBox>("pictb_quelle")->bitmapNumber(), 136);
    EXPECT_EQ(control<PictureBox>("pictb_ziel")->bitmapNumber(), 135);
    EXPECT_EQ(control<PictureBox>("pictb_sicherung_speichern")->bitmapNumber(), 110);
    // The inactive save picture neither sounds nor runs.
    sounds.played.clear();
    clickPicture(control<PictureBox>("pictb_sicherung_speichern"));
    EXPECT_TRUE(sounds.played.isEmpty());
    EXPECT_TRUE(control<QTreeWidget>("tv_dir")->isVisible());
}

TEST_F(FormTest, ReleasingOnePixelPastTheEndPictureKeepsTheWindowOpen) {
    Form1& window = startForm();
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    clickPicture(control<PictureBox>("pictb_beenden"), QPoint(120, 35));
    EXPECT_FALSE(closed);
    clickPicture(control<PictureBox>("pictb_beenden"), QPoint(119, 35));
    EXPECT_TRUE(closed);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vaultrix::test
