#include "shell/WSysTray.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

#include "app/FormFixture.h"
#include "engine/Scheduler.h"

namespace vaultrix::test {
namespace {

class TrayTest : public FormTest {
protected:
    WSysTray* tray() const { return control<WSysTray>("WSysTray"); }
    QSystemTrayIcon* icon() const { return tray()->findChild<QSystemTrayIcon*>(); }
    // Handles every event posted so far, the window's queued hide among them.
    static void drainQueue(QObject* receiver) {
        bool drained = false;
        QMetaObject::invokeMethod(
            receiver, [&] { drained = true; }, Qt::QueuedConnection);
        ASSERT_TRUE(QTest::qWaitFor([&] { return drained; }, 5000));
    }
};

TEST_F(TrayTest, MinimisingHidesTheWindowOnlyWhereTheTrayCanBringItBack) {
    trayAvailable = true;
    Form1& window = startForm();
    window.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000));
    window.showNormal();
    trayAvailable = false;
    window.showMinimized();
    drainQueue(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(TrayTest, ALeftClickOnTheIconShowsTheHiddenWindowAndTheRightOneLeavesItHidden) {
    trayAvailable = true;
    Form1& window = startForm();
    findCommand(control<QMenu>("ID_Form1_popup"), kTrayCommandMinimise)->trigger();
    ASSERT_FALSE(window.isVisible());
    Q_EMIT icon()->activated(QSystemTrayIcon::Context);
    EXPECT_FALSE(window.isVisible());
    Q_EMIT icon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST_F(TrayTest, TheTooltipCarriesTheStatusCutTo63Characters) {
    startForm();
    // The backup thread's status, in its several lines.
    const QString status = QString::fromStdString(statusTextFor(true, kNoNextRun).multiLine);
    ASSERT_TRUE(QTest::qWaitFor([&] { return icon()->toolTip() == status; }, 10000))
        << icon()->toolTip().toStdString();
    const QString longest = QString(62, QLatin1Char('x')) + QLatin1Char('y');
    tray()->setTip(longest);
    EXPECT_EQ(icon()->toolTip(), longest);
    tray()->setTip(longest + QLatin1Char('z'));
    EXPECT_EQ(icon()->toolTip(), longest);
}

}  // namespace
}  // namespace vaultrix::test
