#include <QDesktopServices>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include "app/FormFixture.h"

namespace vaultrix::test {
namespace {

// Notes what the desktop is asked to open, instead of opening it.
class OpenedUrls final : public QObject {
    Q_OBJECT

public:
    OpenedUrls() {
        for (const QString& scheme : kSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const QString& scheme : kSchemes) QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }

private:
    inline static const QStringList kSchemes{QStringLiteral("file"), QStringLiteral("https")};
};

#if defined(_WIN32)
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

std::string shortcutTo(const std::string& target) {
    return std::string("[DEFAULT]") + kLineEnd + "BASEURL=" + target + kLineEnd +
           "[InternetShortcut]" + kLineEnd + "URL=" + target;
}

TEST_F(FormTest, TheShortcutFileHoldsTheTutorialOrTheWebPageWhicheverOpenedLast) {
    OpenedUrls opened;
    startForm();
    const std::string tutorial = (dir / "Tutorial" / "vx_start.html").string();
    for (const int command : {kCommandTutorial, kCommandIntroduction}) {
        findCommand(form->menuBar(), command)->trigger();
        EXPECT_EQ(readBytes(dir / "internet.url"), shortcutTo(tutorial)) << command;
    }
    findCommand(form->menuBar(), kCommandAbout)->trigger();
    auto* about = control("Form3_impressum");
    const std::string webPage = "https://www.example.org/vaultrix/";
    for (const char* link : {"label_3", "pictb_1"}) {
        QTest::mousePress(about->findChild<QWidget*>(QString::fromLatin1(link)), Qt::LeftButton);
        EXPECT_EQ(readBytes(dir / "internet.url"), shortcutTo(webPage)) << link;
    }
#if !defined(_WIN32)
    // Browsers here do not read shortcut files: the target itself is opened.
    const QUrl tutorialUrl = QUrl::fromLocalFile(QString::fromStdString(tutorial));
    const QUrl webUrl(QString::fromStdString(webPage));
    EXPECT_EQ(opened.urls, (QList<QUrl>{tutorialUrl, tutorialUrl, webUrl, webUrl}));
#endif
}

TEST_F(FormTest, TheHelpWindowShowsItsFortyEightLines) {
    startForm();
    findCommand(form->menuBar(), kCommandHelp)->trigger();
    auto* help = control("Form4_hilfe");
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Vaultrix 1.0 - Hilfe"));
    const QStringList lines = help->findChild<QTextEdit*>(QStringLiteral("rtb_1"))
                                  ->toPlainText()
                                  .split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 48);
    for (const int empty : {2, 4, 21, 24, 27, 30, 37, 40, 45}) {
        EXPECT_TRUE(lines[empty - 1].isEmpty()) << empty;
    }
    EXPECT_EQ(lines[2], QStringLiteral("Sicherung anlegen"));
    EXPECT_EQ(lines[40], QStringLiteral("Einstellung"));
    EXPECT_EQ(lines[46], QStringLiteral("vaultrix@example.org"));
    EXPECT_EQ(lines[47], QStringLiteral("www.example.org/vaultrix"));
}

}  // namespace
}  // namespace vaultrix::test

#include "InfoWindowsTest.moc"
