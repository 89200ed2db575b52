#include "app/Resources.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSize>
#include <QString>

#include "shell/HandCursor.h"

namespace vaultrix {
namespace {

QSize pictureSize(const QString& path) {
    return QImage(path).size();
}

QString bitmap(int number) {
    return QStringLiteral(":/bitmaps/%1.png").arg(number);
}

TEST(Resources, EveryButtonFaceExistsAtItsSize) {
    loadResources();
    for (int n : {100, 101, 102, 103, 104, 105, 106, 107, 135, 136}) {
        EXPECT_EQ(pictureSize(bitmap(n)), QSize(76, 34)) << "bitmap " << n;
    }
    for (int n = 108; n <= 134; ++n) {
        if (n == 113) continue;  // no button uses it
        EXPECT_EQ(pictureSize(bitmap(n)), QSize(120, 34)) << "bitmap " << n;
    }
}

TEST(Resources, LogoPicturesIconsAndCursorExist) {
    loadResources();
    EXPECT_EQ(pictureSize(bitmap(142)), QSize(173, 84));
    EXPECT_EQ(pictureSize(bitmap(145)), QSize(122, 302));
    EXPECT_GE(pictureSize(QStringLiteral(":/icons/100.png")).width(), 32);
    for (int n : {101, 102, 103}) {
        EXPECT_EQ(pictureSize(QStringLiteral(":/icons/%1.png").arg(n)), QSize(16, 16)) << n;
    }
    const QImage cursor(QStringLiteral(":/cursors/100.png"));
    ASSERT_EQ(cursor.size(), QSize(32, 32));
    // The hotspot lies on the hand, not on a transparent pixel beside it.
    EXPECT_GT(qAlpha(cursor.pixel(kHandCursorHotX, kHandCursorHotY + 1)), 0);
}

TEST(Resources, PressedAndInactiveFacesDifferFromTheNormalOne) {
    loadResources();
    const QImage normal(bitmap(118));
    EXPECT_NE(normal, QImage(bitmap(119)));
    EXPECT_NE(normal, QImage(bitmap(120)));
    // The discard button's pressed face is the lower number.
    EXPECT_LT(QImage(bitmap(111)).pixelColor(60, 10).lightness(),
              QImage(bitmap(112)).pixelColor(60, 10).lightness());
}

}  // namespace
}  // namespace vaultrix
