#include "engine/BackupRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/FakeCopy.h"
#include "support/Gate.h"
#include "support/RecordingRunObserver.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace fs = std::filesystem;
using test::at;
using test::readBytes;
using test::writeBytes;

class BackupRunnerTest : public ::testing::Test {
protected:
    BackupRunnerTest() {
        fs::create_directories(data_);
        fs::create_directories(source_);
        fs::create_directories(target_);
    }

    void addSet(const std::string& name, std::vector<std::string> sources) {
        BackupSet set{name, std::move(sources), target_.string(), "täglich", "18:30", true};
        ASSERT_TRUE(sets_.saveNewSet(set).ok());
    }
    void setOverwrite(bool overwrite) {
        ASSERT_TRUE(settings_.saveDialogSettings({overwrite, false, false}).ok());
    }
    std::string source(const std::string& name) const { return (source_ / name).string(); }
    std::string logText() const { return log_.LoadLogText(); }

    test::TempDir root_;
    const fs::path data_ = root_ / "daten";
    const fs::path source_ = root_ / "quelle";
    const fs::path target_ = root_ / "ziel";
    test::FakeClock clock_{at(6, 12, 2026, 19, 30, 5, 0)};
    BackupSetStore sets_{data_};
    SettingsStore settings_{data_};
    RunLog log_{data_, clock_};
    test::RecordingRunObserver observer_;
};

TEST_F(BackupRunnerTest, OverwriteReplacesTheEarlierCopy) {
    setOverwrite(true);
    writeBytes(source_ / "a.txt", "neuer Inhalt");
    writeBytes(target_ / "a.txt", "alt");
    addSet("Tag", {source("a.txt")});
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_TRUE(runner.RunBackupSet("Tag", true, observer_));
    EXPECT_EQ(readBytes(target_ / "a.txt"), "neuer Inhalt");
    EXPECT_FALSE(fs::exists(target_ / "a - Kopie.txt"));
    EXPECT_EQ(observer_.successes(),
              std::vector<std::string>{"Ihre Sicherung 'Tag' wurde erfolgreich durchgeführt!"});
    EXPECT_TRUE(observer_.failures().empty());
    EXPECT_NE(logText().find("Sicherung=gestartet\nName=Tag\nVerlauf=ok"), std::string::npos);
}

TEST_F(BackupRunnerTest, NewCopyKeepsTheEarlierCopyBesideTheNewOne) {
    fs::create_directories(source_ / "Daten" / "unter");
    writeBytes(source_ / "Daten" / "unter" / "brief.txt", "Brief");
    writeBytes(source_ / "Daten" / ".versteckt", "geheim");
    addSet("Tag", {source("Daten")});
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));
    writeBytes(source_ / "Daten" / "unter" / "brief.txt", "Brief, geändert");
    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));

    EXPECT_EQ(readBytes(target_ / "Daten" / "unter" / "brief.txt"), "Brief");
    EXPECT_EQ(readBytes(target_ / "Daten" / ".versteckt"), "geheim");
    EXPECT_EQ(readBytes(target_ / "Daten - Kopie" / "unter" / "brief.txt"), "Brief, geändert");
    EXPECT_TRUE(observer_.successes().empty()) << "scheduled runs show no success message";
}

TEST_F(BackupRunnerTest, GoesOnPastFailedSourcesAndNamesEachOne) {
    setOverwrite(true);
    writeBytes(source_ / "a.txt", "a");
    writeBytes(source_ / "b.txt", "b");
    addSet("Tag", {source("a.txt"), source("fehlt.txt"), target_.string(), source("b.txt")});
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_FALSE(runner.RunBackupSet("Tag", true, observer_));
    EXPECT_EQ(readBytes(target_ / "a.txt"), "a");
    EXPECT_EQ(readBytes(target_ / "b.txt"), "b");
    EXPECT_TRUE(observer_.successes().empty());
    ASSERT_EQ(observer_.failures().size(), 1u);
    const std::string message = observer_.failures()[0];
    EXPECT_NE(message.find("'Tag'"), std::string::npos);
    EXPECT_NE(message.find("2 Einträge"), std::string::npos);
    EXPECT_NE(message.find("fehlt.txt' konnte nicht kopiert werden"), std::string::npos);
    EXPECT_NE(message.find("Quelle und Ziel darf nicht gleich sein ! - Pfad: " + target_.string()),
              std::string::npos);
    EXPECT_NE(logText().find("Name=Tag\nVerlauf=error"), std::string::npos);
}

TEST_F(BackupRunnerTest, ADestinationThatCannotBeUsedIsNamedOnce) {
    writeBytes(source_ / "a.txt", "a");
    fs::remove(target_);
    writeBytes(target_, "eine Datei, kein Ordner");
    addSet("Tag", {source("a.txt"), source("a.txt")});
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_FALSE(runner.RunBackupSet("Tag", false, observer_));
    ASSERT_EQ(observer_.failures().size(), 1u);
    EXPECT_NE(observer_.failures()[0].find("ist nicht verfügbar: Der Pfad ist kein Ordner"),
              std::string::npos);
    EXPECT_EQ(observer_.failures()[0].find("Einträge"), std::string::npos);
}

TEST_F(BackupRunnerTest, ALogThatCannotBeWrittenIsReportedOnceAndTheOutcomeStands) {
    setOverwrite(true);
    fs::create_directory(data_ / kLogFileName);
    writeBytes(source_ / "a.txt", "a");
    addSet("Gut", {source("a.txt")});
    addSet("Schlecht", {source("fehlt.txt")});
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_TRUE(runner.RunBackupSet("Gut", true, observer_));
    EXPECT_EQ(readBytes(target_ / "a.txt"), "a");
    EXPECT_EQ(observer_.successes().size(), 1u);
    EXPECT_FALSE(runner.RunBackupSet("Schlecht", false, observer_));
    EXPECT_EQ(observer_.failures().size(), 1u);

    const auto logFailures = observer_.logFailures();
    ASSERT_EQ(logFailures.size(), 2u);
    EXPECT_TRUE(logFailures[0].starts_with(
        "Der Verlauf der Sicherung 'Gut' konnte nicht in die Log Datei geschrieben werden.\n\n"));
    EXPECT_NE(logFailures[0].find(kLogFileName), std::string::npos);
    EXPECT_NE(logFailures[1].find("'Schlecht'"), std::string::npos);
}

// A set that cannot copy anything fails, by hand and scheduled alike, and says what is missing:
// no section in "save.ini" (listed or not), an empty section, a section with keys but no source,
// or a source without a destination.
TEST_F(BackupRunnerTest, ASetWithNothingToCopyFailsAndSaysWhatIsMissing) {
    writeBytes(data_ / kSetNameFileName,
               "[SICHERUNG]\r\nname_1=Fehlt\r\nname_2=Leer\r\nname_3=Quelle\r\n"
               "name_4=Ziel\r\n\r\n[NUMMER]\r\nwert=4\r\n");
    writeBytes(data_ / kSetFileName,
               "[Leer]\r\n\r\n[Quelle]\r\nvon_1=/q/hinter-der-luecke\r\nnach=/z\r\n"
               "aktiv=ja\r\n\r\n[Ziel]\r\nvon_0=/q/a\r\nnach=\r\n");
    test::FakeCopy copy;
    BackupRunner runner(sets_, settings_, log_, copy.operation());
    const std::string hint = "\n\nBitte bearbeiten oder löschen Sie die Sicherung.";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Fehlt", "Sie ist nicht gespeichert: In der Datei save.ini fehlen ihre Einstellungen."},
        {"Unbekannt",
         "Sie ist nicht gespeichert: In der Datei save.ini fehlen ihre Einstellungen."},
        {"Leer", "Sie hat keine Quelle und kein Ziel."},
        {"Quelle", "Sie hat keine Quelle."},
        {"Ziel", "Sie hat kein Ziel."},
    };
    for (const bool byHand : {true, false}) {
        for (const auto& [name, missing] : cases) {
            test::RecordingRunObserver observer;
            EXPECT_FALSE(runner.RunBackupSet(name, byHand, observer)) << name;
            EXPECT_TRUE(observer.successes().empty()) << name;
            EXPECT_EQ(observer.failures(),
                      std::vector<std::string>{"Die Sicherung '" + name +
                                               "' wurde nicht durchgeführt. " + missing + hint});
            EXPECT_NE(logText().rfind("Name=" + name + "\nVerlauf=error"), std::string::npos);
        }
    }
    EXPECT_TRUE(copy.sources().empty());
    EXPECT_EQ(logText().find("Verlauf=ok"), std::string::npos);
}

TEST_F(BackupRunnerTest, CancelledCopyFailsAndLeavesNoTemporaryFile) {
    setOverwrite(true);
    writeBytes(source_ / "gross.bin", std::string(3 * 1024 * 1024, 'x'));
    writeBytes(target_ / "gross.bin", "die alte Sicherung");
    addSet("Tag", {source("gross.bin")});
    observer_.setCancel(true);
    BackupRunner runner(sets_, settings_, log_);

    EXPECT_FALSE(runner.RunBackupSet("Tag", true, observer_));
    EXPECT_EQ(observer_.failures().size(), 1u);
    EXPECT_EQ(readBytes(target_ / "gross.bin"), "die alte Sicherung");
    for (const auto& entry : fs::directory_iterator(target_)) {
        EXPECT_EQ(entry.path().filename(), "gross.bin");
    }
    EXPECT_NE(logText().find("Verlauf=error"), std::string::npos);
}

TEST_F(BackupRunnerTest, ProgressAddsUpOverTheSourcesAndTheCountArrivesOnceBesideIt) {
    addSet("Tag", {"/q/a", "/q/b"});
    BackupRunner runner(
        sets_, settings_, log_,
        [&](const std::string& from, const std::string&, unsigned,
            CopyObserver& observer) -> Result<> {
            if (from == "/q/a") {
                observer.onProgress(CopyProgress{1, 100});
                return success();
            }
            // The second copy counts from zero; it goes on until the count has reached the run.
            EXPECT_TRUE(test::eventually([&] {
                observer.onProgress(CopyProgress{0, 0});
                return !observer_.totals().empty();
            }));
            observer.onProgress(CopyProgress{2, 70});
            return success();
        },
        [](auto&&...) {
            return std::optional<CopyProgress>(CopyProgress{3, 170});
        });

    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));
    EXPECT_EQ(observer_.totals(), (std::vector<CopyProgress>{{3, 170}}));
    EXPECT_EQ(observer_.lastProgress(), (CopyProgress{3, 170}));
}

TEST_F(BackupRunnerTest, ACancelledRunStopsItsCountingWalk) {
    addSet("Tag", {"/q/a"});
    test::FakeCopy copy(/*hold=*/true);
    bool stopped = false;
    BackupRunner runner(sets_, settings_, log_, copy.operation(),
                        [&](auto&&, auto&&, std::stop_token stop) {
                            // A walk that is never through: it waits until it is asked to stop.
                            std::mutex mutex;
                            std::unique_lock lock(mutex);
                            std::condition_variable_any().wait_for(
                                lock, stop, std::chrono::seconds(10), [] { return false; });
                            stopped = stop.stop_requested();
                            return std::optional<CopyProgress>();
                        });
    observer_.setCancel(true);
    EXPECT_FALSE(runner.RunBackupSet("Tag", true, observer_));
    EXPECT_TRUE(copy.awaitCancelled());
    EXPECT_TRUE(stopped);
}

TEST_F(BackupRunnerTest, FlagsFollowTheCopyMethodExactly) {
    addSet("Tag", {"/q/a"});
    test::FakeCopy copy;
    BackupRunner runner(sets_, settings_, log_, copy.operation());

    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));  // no settings file
    setOverwrite(true);
    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));
    writeBytes(data_ / kSettingsFileName, "[EINSTELLUNG]\r\nmethode=2\r\n");
    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));

    EXPECT_EQ(copy.flags(),
              (std::vector<unsigned>{kCopyFlagsNewCopy, kCopyFlagsOverwrite, kCopyFlagsNewCopy}));
    EXPECT_EQ(copy.destinations().front(), target_.string());
}

TEST_F(BackupRunnerTest, ASaveDuringTheRunDoesNotChangeIt) {
    addSet("Tag", {"/q/a", "/q/b"});
    std::vector<std::string> copied;
    BackupRunner runner(
        sets_, settings_, log_,
        [&](const std::string& from, const std::string& to, unsigned, CopyObserver&) -> Result<> {
            if (copied.empty()) {
                const BackupSet edited{"Tag", {"/neu"}, "/anders", "Montag", "07:00", false};
                EXPECT_TRUE(sets_.saveEditedSet("Tag", edited).ok());
            }
            copied.push_back(from + " -> " + to);
            return success();
        });

    EXPECT_TRUE(runner.RunBackupSet("Tag", false, observer_));
    const std::string to = " -> " + target_.string();
    EXPECT_EQ(copied, (std::vector<std::string>{"/q/a" + to, "/q/b" + to}));
}

// What the runs of a test tell and copy, in the order it happens, whatever their threads.
class Timeline {
public:
    void add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

// Enters the beginning of a run into the timeline.
class TimelineObserver final : public RunObserver {
public:
    explicit TimelineObserver(Timeline& timeline) : timeline_(timeline) {}
    void onRunStarted(const std::string& name) override { timeline_.add(name + " beginnt"); }
    void onProgress(const CopyProgress&) override {}
    bool cancelRequested() override { return false; }
    void onRunSucceeded(const std::string&) override {}
    void onRunFailed(const std::string&) override {}
    void onLogFailed(const std::string&) override {}

private:
    Timeline& timeline_;
};

TEST_F(BackupRunnerTest, RunsFromTwoThreadsNeverOverlap) {
    addSet("Geplant", {"/q/a"});
    addSet("Von Hand", {"/q/b"});
    Timeline timeline;
    const auto gate = std::make_shared<test::Gate>();
    BackupRunner runner(
        sets_, settings_, log_,
        [&](const std::string& source, const std::string&, unsigned, CopyObserver&) -> Result<> {
            timeline.add("kopiert " + source);
            if (source == "/q/a") gate->enter();
            timeline.add(source + " fertig");
            return success();
        });

    TimelineObserver scheduled(timeline);
    std::thread first([&] { runner.RunBackupSet("Geplant", false, scheduled); });
    ASSERT_TRUE(test::eventually([&] { return gate->arrived() == 1; }));
    // The second run is asked for while the first is inside its copy.
    TimelineObserver byHand(timeline);
    std::atomic<bool> asked{false};
    std::thread second([&] {
        asked = true;
        runner.RunBackupSet("Von Hand", true, byHand);
    });
    EXPECT_TRUE(test::eventually([&] { return asked.load(); }));
    gate->open();
    first.join();
    second.join();

    EXPECT_EQ(timeline.events(),
              (std::vector<std::string>{"Geplant beginnt", "kopiert /q/a", "/q/a fertig",
                                        "Von Hand beginnt", "kopiert /q/b", "/q/b fertig"}));
}

TEST(RunMessagesTest, FailuresNameTheSetTheReasonsAndHowManyMore) {
    RunFailures one;
    one.add(failure("'/q/a' konnte nicht kopiert werden: Zugriff verweigert", "/q/a"));
    EXPECT_EQ(runFailureMessage("Tag", one),
              "Die Sicherung 'Tag' konnte nicht vollständig durchgeführt werden.\n\n'/q/a' konnte "
              "nicht kopiert werden: Zugriff verweigert");

    RunFailures many;
    many.add(failure(kSameSourceAndDestination, "/q"));
    for (int i = 1; i < 13; ++i) many.add(failure("Zugriff verweigert " + std::to_string(i)));
    const std::string message = runFailureMessage("Tag", many);
    EXPECT_NE(message.find("13 Einträge konnten nicht gesichert werden:\n\n"
                           "Quelle und Ziel darf nicht gleich sein ! - Pfad: /q\n"),
              std::string::npos);
    EXPECT_NE(message.find("Zugriff verweigert 9\n… und 3 weitere"), std::string::npos);
    EXPECT_EQ(message.find("verweigert 10"), std::string::npos);
}

}  // namespace
}  // namespace vaultrix
