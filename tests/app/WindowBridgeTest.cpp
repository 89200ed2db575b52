#include "app/WindowBridge.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <thread>

namespace vaultrix {
namespace {

// Records what reaches the window thread, and on which thread it arrived.
struct Received {
    QStringList clock;
    QStringList captions;
    QStringList tooltips;
    QStringList failures;
    bool allOnWindowThread = true;
};

void record(QObject& context, WindowBridge& bridge, Received& received) {
    auto onWindowThread = [&received] {
        received.allOnWindowThread =
            received.allOnWindowThread && QThread::currentThread() == qApp->thread();
    };
    QObject::connect(&bridge, &WindowBridge::clockTextChanged, &context,
                     [&received, onWindowThread](const QString& text) {
                         onWindowThread();
                         received.clock << text;
                     });
    QObject::connect(&bridge, &WindowBridge::statusChanged, &context,
                     [&received, onWindowThread](const QString& caption, const QString& tip) {
                         onWindowThread();
                         received.captions << caption;
                         received.tooltips << tip;
                     });
    QObject::connect(&bridge, &WindowBridge::scheduledRunFailed, &context,
                     [&received, onWindowThread](const QString& message) {
                         onWindowThread();
                         received.failures << message;
                     });
}

TEST(WindowBridge, TextsFromABackgroundThreadArriveOnTheWindowThreadInOrder) {
    WindowBridge bridge;
    QObject context;
    Received received;
    record(context, bridge, received);

    std::thread background([&bridge] {
        bridge.showClock("06.12.2026\nSonntag\n19:30:05");
        bridge.showClock("06.12.2026\nSonntag\n19:30:06");
        bridge.showStatus(StatusText{"nächste Sicherung in 5 Minuten",
                                     "Vaultrix 1.0\nnächste Sicherung\nin 5 Minuten"});
        bridge.onRunFailed("Die Datei »C:\\a.txt« konnte nicht kopiert werden.");
    });
    background.join();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.failures.isEmpty(); }, 10000));
    EXPECT_EQ(received.clock, (QStringList{QStringLiteral("06.12.2026\nSonntag\n19:30:05"),
                                           QStringLiteral("06.12.2026\nSonntag\n19:30:06")}));
    EXPECT_EQ(received.captions,
              QStringList{QStringLiteral("Vaultrix 1.0 - nächste Sicherung in 5 Minuten")});
    EXPECT_EQ(received.tooltips,
              QStringList{QStringLiteral("Vaultrix 1.0\nnächste Sicherung\nin 5 Minuten")});
    EXPECT_EQ(received.failures,
              QStringList{QStringLiteral("Die Datei »C:\\a.txt« konnte nicht kopiert werden.")});
    EXPECT_TRUE(received.allOnWindowThread);
}

TEST(WindowBridge, AScheduledRunIsNeverCancelledOrAnnouncedAsSuccessByTheBridge) {
    WindowBridge bridge;
    QObject context;
    Received received;
    record(context, bridge, received);

    bridge.onProgress(CopyProgress{3, 4096});
    bridge.onRunSucceeded("Ihre Sicherung 'Tag' wurde erfolgreich durchgeführt!");
    QCoreApplication::processEvents();

    EXPECT_FALSE(bridge.cancelRequested());
    EXPECT_TRUE(received.failures.isEmpty());
    EXPECT_TRUE(received.captions.isEmpty());
}

}  // namespace
}  // namespace vaultrix
