#include "shell/ShortText.h"

#include <gtest/gtest.h>

namespace vaultrix {
namespace {

TEST(ShortLines, OnlyLinesLongerThanTheLimitAreShortenedKeepingTheirStartAndEnd) {
    const QString fits = QString(kShownCharacters, QLatin1Char('a'));
    EXPECT_EQ(shortLines(fits + QStringLiteral("\n\nx")), fits + QStringLiteral("\n\nx"));

    const QString name =
        QStringLiteral("Anfang") + QString(5 << 20, QLatin1Char('x')) + QStringLiteral("Ende");
    const QString shown = shortLines(QStringLiteral("Ihre Sicherung '") + name +
                                     QStringLiteral("' wurde erfolgreich durchgeführt!\n\nOK"));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), kShownCharacters + 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Ihre Sicherung 'Anfang")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Ende' wurde erfolgreich durchgeführt!")));
    EXPECT_EQ(lines[0].count(QChar(0x2026)), 1);
    EXPECT_EQ(lines[2], QStringLiteral("OK"));

    // A character outside the basic plane is never cut in two, at either end.
    const QString wide = QStringLiteral("\U0001F600");
    for (const QString& line : {QString(127, QLatin1Char('a')) + wide.repeated(200),
                                wide.repeated(200) + QString(127, QLatin1Char('a'))}) {
        const QString cut = shortLines(line);
        EXPECT_LE(cut.size(), kShownCharacters + 1);
        // Every surrogate has its partner beside it.
        for (qsizetype i = 0; i < cut.size(); ++i) {
            const bool paired = cut[i].isHighSurrogate()
                                    ? i + 1 < cut.size() && cut[i + 1].isLowSurrogate()
                                : cut[i].isLowSurrogate() ? i > 0 && cut[i - 1].isHighSurrogate()
                                                          : true;
            EXPECT_TRUE(paired) << i;
        }
    }
}

}  // namespace
}  // namespace vaultrix
