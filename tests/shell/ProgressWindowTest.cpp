#include "shell/ProgressWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/RunLog.h"
#include "store/BackupSetStore.h"
#include "store/SettingsStore.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/FakeCopy.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

// Runs `action` on the window thread once the window's event loop is running.
void onWindowThread(ProgressWindow& window, std::function<void()> action) {
    QMetaObject::invokeMethod(&window, std::move(action), Qt::QueuedConnection);
}

// Waits on the worker until the window asks the run to stop; false if it never does.
bool awaitCancel(RunObserver& observer) {
    return test::eventually([&observer] { return observer.cancelRequested(); });
}

QString progressLine(ProgressWindow& window) {
    for (auto* label : window.findChildren<QLabel*>()) {
        if (label->text().endsWith(QStringLiteral(" kopiert"))) return label->text();
    }
    return {};
}

TEST(ProgressWindow, ShowsProgressWhileRunningAndReportsTheSuccessMessage) {
    ProgressWindow window;
    QString shownProgress;
    bool visibleDuringRun = false;

    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        observer.onProgress(CopyProgress{3, 3'565'158});
        // Queued after the progress from the same thread, so it sees it applied.
        onWindowThread(window, [&] {
            shownProgress = progressLine(window);
            visibleDuringRun = window.isVisible();
        });
        observer.onRunSucceeded("Ihre Sicherung 'Tag' wurde erfolgreich durchgeführt!");
        return true;
    });

    EXPECT_TRUE(report.success);
    EXPECT_EQ(report.successMessage,
              QStringLiteral("Ihre Sicherung 'Tag' wurde erfolgreich durchgeführt!"));
    EXPECT_TRUE(report.failureMessage.isEmpty());
    EXPECT_EQ(shownProgress, QStringLiteral("3 Dateien, 3,4 MB kopiert"));
    EXPECT_TRUE(visibleDuringRun);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Vaultrix führt die automatische Datensicherung durch!"));

    // The same window serves the next run, starting from zero again.
    QString nextStart;
    const RunReport second = window.run(QStringLiteral("Woche"), [&](RunObserver&) {
        onWindowThread(window, [&] { nextStart = progressLine(window); });
        return true;
    });
    EXPECT_TRUE(second.success);
    EXPECT_EQ(nextStart, QStringLiteral("0 Dateien, 0 Bytes kopiert"));
}

TEST(ProgressWindow, AFailedRunHandsBackTheFailureMessage) {
    ProgressWindow window;
    const RunReport report = window.run(QStringLiteral("Tag"), [](RunObserver& observer) {
        observer.onRunFailed("Die Datei »C:\\fehlt.txt« konnte nicht kopiert werden.");
        return false;
    });

    EXPECT_FALSE(report.success);
    EXPECT_EQ(report.failureMessage,
              QStringLiteral("Die Datei »C:\\fehlt.txt« konnte nicht kopiert werden."));
    EXPECT_TRUE(report.successMessage.isEmpty());
}

TEST(ProgressWindow, AbbrechenStopsTheRunWhichThenCountsAsFailed) {
    ProgressWindow window;
    bool cancelSeen = false;
    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        onWindowThread(window, [&] {
            auto* button = window.findChild<QPushButton*>();
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QStringLiteral("Abbrechen"));
            button->click();
        });
        cancelSeen = awaitCancel(observer);
        return false;
    });

    EXPECT_TRUE(cancelSeen);
    EXPECT_FALSE(report.success);
    EXPECT_FALSE(window.isVisible());
}

TEST(ProgressWindow, ClosingTheWindowDuringARunCancelsItAndWaitsForTheWorker) {
    ProgressWindow window;
    bool cancelSeen = false;
    bool stayedOpenUntilWorkerEnded = false;
    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        onWindowThread(window, [&] { window.close(); });
        cancelSeen = awaitCancel(observer);
        // Queued before the worker's end, so it runs while the run is still in progress.
        onWindowThread(window, [&] { stayedOpenUntilWorkerEnded = window.isVisible(); });
        return false;
    });

    EXPECT_TRUE(cancelSeen);
    EXPECT_TRUE(stayedOpenUntilWorkerEnded);
    EXPECT_FALSE(report.success);
}

TEST(ProgressWindow, CancelFromTheMainWindowReachesARunningCopy) {
    ProgressWindow window;
    window.cancel();  // no run yet: nothing to stop, and the next run is not affected
    bool cancelSeen = false;
    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        EXPECT_FALSE(observer.cancelRequested());
        onWindowThread(window, [&] { window.cancel(); });
        cancelSeen = awaitCancel(observer);
        return false;
    });
    EXPECT_TRUE(cancelSeen);
}

TEST(ProgressWindow, TheBarGetsItsEndWhenTheCountArrives) {
    ProgressWindow window;
    auto* bar = window.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    int maximumBefore = -1;
    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        observer.onProgress(CopyProgress{3, 3'565'158});
        onWindowThread(window, [&] { maximumBefore = bar->maximum(); });
        observer.onTotalCounted(CopyProgress{40, 10 << 20});
        observer.onProgress(CopyProgress{5, 5 << 20});
        return true;
    });
    EXPECT_TRUE(report.success);

    EXPECT_EQ(maximumBefore, 0) << "no end before the count";
    // The last numbers are shown even when they came faster than the window is updated.
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value() * 2, bar->maximum());
    EXPECT_EQ(progressLine(window), QStringLiteral("50 % – 5,0 MB von 10,0 MB kopiert"));
}

TEST(ProgressWindow, SourcesThatGrewDuringTheRunTakeTheBarToItsEndAndNoFurther) {
    ProgressWindow window;
    auto* bar = window.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    const RunReport report = window.run(QStringLiteral("Tag"), [&](RunObserver& observer) {
        observer.onTotalCounted(CopyProgress{40, 10 << 20});
        observer.onProgress(CopyProgress{45, 12 << 20});
        return true;
    });
    EXPECT_TRUE(report.success);

    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(progressLine(window), QStringLiteral("100 % – 12,0 MB von 10,0 MB kopiert"));
}

// The window around real runs of a stored set in a fresh data folder.
class ManualRunOfAStoredSet : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir_ / "ziel");
        test::writeBytes(dir_ / "brief.txt", "Inhalt");
    }

    void store(const std::string& source) {
        const BackupSet set{"Tag", {source}, (dir_ / "ziel").string(), "täglich", "18:30", true};
        ASSERT_TRUE(sets_.saveNewSet(set).ok());
    }

    test::TempDir dir_;
    test::FakeClock clock_{test::at(6, 12, 2026, 19, 30, 5, 0)};
    BackupSetStore sets_{dir_.path()};
    SettingsStore settings_{dir_.path()};
    RunLog log_{dir_.path(), clock_};
};

TEST_F(ManualRunOfAStoredSet, CopiesTheSetAndReportsSuccess) {
    store((dir_ / "brief.txt").string());
    BackupRunner runner(sets_, settings_, log_);
    ProgressWindow window;

    const RunReport report = window.run(runner, "Tag");

    EXPECT_TRUE(report.success);
    EXPECT_EQ(report.successMessage,
              QStringLiteral("Ihre Sicherung 'Tag' wurde erfolgreich durchgeführt!"));
    EXPECT_EQ(test::readBytes(dir_ / "ziel" / "brief.txt"), "Inhalt");
    EXPECT_NE(log_.LoadLogText().find("Verlauf=ok"), std::string::npos);
}

TEST_F(ManualRunOfAStoredSet, AMissingSourceFailsWithAMessageAndNoSuccess) {
    store((dir_ / "fehlt.txt").string());
    BackupRunner runner(sets_, settings_, log_);
    ProgressWindow window;

    const RunReport report = window.run(runner, "Tag");

    EXPECT_FALSE(report.success);
    EXPECT_TRUE(report.successMessage.isEmpty());
    EXPECT_TRUE(report.failureMessage.contains(QStringLiteral("fehlt.txt")))
        << report.failureMessage.toStdString();
    EXPECT_NE(log_.LoadLogText().find("Verlauf=error"), std::string::npos);
}

TEST_F(ManualRunOfAStoredSet, AbbrechenDuringTheCopyLogsTheRunAsFailed) {
    store((dir_ / "brief.txt").string());
    test::FakeCopy copy(/*hold=*/true);
    BackupRunner runner(sets_, settings_, log_, copy.operation());
    ProgressWindow window;

    std::thread user([&] {
        if (!copy.awaitStarted()) return;
        onWindowThread(window, [&] { window.findChild<QPushButton*>()->click(); });
    });
    const RunReport report = window.run(runner, "Tag");
    user.join();

    EXPECT_TRUE(copy.awaitCancelled());
    EXPECT_FALSE(report.success);
    EXPECT_FALSE(report.failureMessage.isEmpty());
    EXPECT_NE(log_.LoadLogText().find("Verlauf=error"), std::string::npos);
}

TEST(ProgressWindow, ProgressAndTimeLeftTextsInGerman) {
    EXPECT_EQ(progressText(0, 0), QStringLiteral("0 Dateien, 0 Bytes kopiert"));
    EXPECT_EQ(progressText(1, 1023), QStringLiteral("1 Datei, 1.023 Bytes kopiert"));
    EXPECT_EQ(progressText(2, 1024), QStringLiteral("2 Dateien, 1,0 KB kopiert"));
    EXPECT_EQ(progressText(1234, 5ull << 30), QStringLiteral("1.234 Dateien, 5,0 GB kopiert"));
    EXPECT_EQ(progressText(7, 3ull << 40), QStringLiteral("7 Dateien, 3,0 TB kopiert"));

    EXPECT_EQ(countedProgressText({2, 0}, {5, 0}),
              QStringLiteral("40 % – 2 von 5 Dateien kopiert"));
    EXPECT_EQ(countedProgressText({6, 0}, {5, 0}),
              QStringLiteral("100 % – 6 von 5 Dateien kopiert"));

    using std::chrono::seconds;
    EXPECT_EQ(timeLeftText(seconds(59)), QStringLiteral("noch weniger als eine Minute"));
    EXPECT_EQ(timeLeftText(seconds(60)), QStringLiteral("noch etwa 1 Minute"));
    EXPECT_EQ(timeLeftText(seconds(90)), QStringLiteral("noch etwa 2 Minuten"));
    EXPECT_EQ(timeLeftText(seconds(75'000)), QStringLiteral("noch etwa 1.250 Minuten"));
}

}  // namespace
}  // namespace vaultrix
