#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/BackupRunner.h"
#include "engine/NameTraitsProbe.h"
#include "support/FakeClock.h"
#include "support/RecordingRunObserver.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::at;
using test::readBytes;
using test::writeBytes;

// The destination holds what the test says, whatever the folder under it holds.
class DestinationLike final : public CopyFaults {
public:
    explicit DestinationLike(DestinationTraits traits) : traits_(traits) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
    DestinationTraits destinationTraits(const DestinationTraits&) override { return traits_; }

private:
    DestinationTraits traits_;
};

std::vector<std::string> namesIn(const stdfs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Real runs of a set with one source folder "Daten" into a destination of the given traits.
class DestinationRefusalsTest : public ::testing::Test {
protected:
    DestinationRefusalsTest() {
        stdfs::create_directories(data_);
        stdfs::create_directories(source_ / "Daten");
        EXPECT_TRUE(settings_.saveDialogSettings({true, false, false}).ok());
        BackupSet set{"Stick", {(source_ / "Daten").string()}, target_.string(), "täglich", "18:30",
                      true};
        EXPECT_TRUE(sets_.saveNewSet(set).ok());
    }

    // Whether the run succeeded; its failure message, if any, in `message`.
    bool run(const DestinationTraits& traits, std::string& message) {
        DestinationLike destination(traits);
        BackupRunner runner(sets_, settings_, log_,
                            [&](const std::string& source, const std::string& to, unsigned flags,
                                CopyObserver& observer) {
                                return CopyToFolderWithFaults(source, to, flags, observer,
                                                              destination);
                            });
        test::RecordingRunObserver observer;
        const bool succeeded = runner.RunBackupSet("Stick", false, observer);
        message = observer.failures().empty() ? "" : observer.failures().back();
        return succeeded;
    }
    // How many records of the log end in this outcome.
    std::size_t logged(const std::string& outcome) const {
        const std::string text = log_.LoadLogText();
        const std::string record = "Name=Stick\nVerlauf=" + outcome;
        std::size_t count = 0;
        for (std::size_t at = text.find(record); at != std::string::npos;
             at = text.find(record, at + 1)) {
            ++count;
        }
        return count;
    }

    test::TempDir root_;
    const stdfs::path data_ = root_ / "daten";
    const stdfs::path source_ = root_ / "quelle";
    const stdfs::path target_ = root_ / "ziel";
    const stdfs::path copied_ = target_ / "Daten";
    test::FakeClock clock_{at(6, 12, 2026, 19, 30, 5, 0)};
    BackupSetStore sets_{data_};
    SettingsStore settings_{data_};
    RunLog log_{data_, clock_};
};

#ifndef _WIN32
// Names a case-insensitive destination takes for one, and names Windows cannot hold, exist only
// on a source of another system.
TEST_F(DestinationRefusalsTest, TheSecondOfTwoNamesFoldedToOneFailsOnEveryRunAndTheRestArrives) {
    stdfs::create_directories(source_ / "Daten" / "Ordner");
    writeBytes(source_ / "Daten" / "README", "groß");
    writeBytes(source_ / "Daten" / "readme", "klein");
    writeBytes(source_ / "Daten" / "Ordner" / "Ärger.txt", "Ä");
    writeBytes(source_ / "Daten" / "Ordner" / "ärger.txt", "ä");
    writeBytes(source_ / "Daten" / "Ordner" / "übrig.txt", "bleibt");
    writeBytes(source_ / "Daten" / "z.txt", "z");
    DestinationTraits stick;
    stick.foldsCase = true;

    for (int round = 1; round <= 2; ++round) {
        std::string message;
        EXPECT_FALSE(run(stick, message)) << "run " << round;
        EXPECT_NE(message.find("2 Einträge konnten nicht gesichert werden"), std::string::npos)
            << message;
        EXPECT_NE(message.find((source_ / "Daten" / "readme").string() +
                               "' konnte nicht kopiert werden: Im Ziel trägt „README“ denselben "
                               "Namen wie „readme“, denn das Ziel unterscheidet Groß- und "
                               "Kleinschreibung nicht. Gesichert wurde „README“."),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find("„Ärger.txt“ denselben Namen wie „ärger.txt“"), std::string::npos)
            << "Latin-1 letters fold too: " << message;
        EXPECT_EQ(logged("error"), static_cast<std::size_t>(round));
        EXPECT_EQ(namesIn(copied_), (std::vector<std::string>{"Ordner", "README", "z.txt"}));
        EXPECT_EQ(readBytes(copied_ / "README"), "groß");
        EXPECT_EQ(namesIn(copied_ / "Ordner"),
                  (std::vector<std::string>{"Ärger.txt", "übrig.txt"}));
    }

    // A destination that tells the two apart takes both.
    std::string message;
    EXPECT_TRUE(run(DestinationTraits{}, message)) << message;
    EXPECT_EQ(readBytes(copied_ / "readme"), "klein");
}

TEST_F(DestinationRefusalsTest, ANameWindowsCannotHoldFailsAloneWithItsReason) {
    writeBytes(source_ / "Daten" / "a:b", "Doppelpunkt");
    writeBytes(source_ / "Daten" / "Notiz.", "Punkt");
    writeBytes(source_ / "Daten" / "gut.txt", "gut");
    DestinationTraits stick;
    stick.windowsNames = true;

    std::string message;
    EXPECT_FALSE(run(stick, message));
    EXPECT_NE(message.find((source_ / "Daten" / "a:b").string() +
                           "' konnte nicht kopiert werden: Der Name „a:b“ enthält ein Zeichen, "
                           "das Windows nicht erlaubt (\\ / : * ? \" < > |). Das Dateisystem des "
                           "Ziels kann ihn nicht speichern."),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("„Notiz.“ endet mit einem Punkt"), std::string::npos) << message;
    EXPECT_EQ(namesIn(copied_), std::vector<std::string>{"gut.txt"});
    EXPECT_EQ(logged("error"), 1u);

    // The source folder's own name is held to the same rules.
    stdfs::rename(source_ / "Daten", source_ / "Da|ten");
    BackupSet set{"Stick", {(source_ / "Da|ten").string()}, target_.string(), "täglich", "18:30",
                  true};
    ASSERT_TRUE(sets_.saveEditedSet("Stick", set).ok());
    EXPECT_FALSE(run(stick, message));
    EXPECT_NE(message.find("„Da|ten“ enthält ein Zeichen"), std::string::npos) << message;
    EXPECT_FALSE(stdfs::exists(target_ / "Da|ten"));
}
#endif

TEST_F(DestinationRefusalsTest, AFileLargerThanTheDestinationHoldsIsNeverBegun) {
    writeBytes(source_ / "Daten" / "passt.bin", std::string(4096, 'p'));
    writeBytes(source_ / "Daten" / "zu-gross.bin", std::string(4097, 'g'));
    DestinationTraits fat;
    fat.largestFile = 4096;

    std::string message;
    EXPECT_FALSE(run(fat, message));
    EXPECT_NE(message.find("zu-gross.bin' konnte nicht kopiert werden: Die Datei ist zu groß für "
                           "das Ziel: Sein Dateisystem hält nur Dateien bis 4096 Bytes."),
              std::string::npos)
        << message;
    EXPECT_EQ(namesIn(copied_), std::vector<std::string>{"passt.bin"});
    EXPECT_EQ(logged("error"), 1u);

    fat.largestFile = (std::uint64_t{4} << 30) - 1;
    EXPECT_TRUE(run(fat, message)) << message;
    EXPECT_EQ(readBytes(copied_ / "zu-gross.bin"), std::string(4097, 'g'));
}

TEST_F(DestinationRefusalsTest, ALinkTheDestinationCannotStoreFailsAlone) {
    writeBytes(source_ / "Daten" / "ziel.txt", "Ziel");
    if (const std::string why = test::makeLink("ziel.txt", source_ / "Daten" / "verweis");
        !why.empty()) {
        GTEST_SKIP() << why;
    }
    DestinationTraits stick;
    stick.holdsLinks = false;

    std::string message;
    EXPECT_FALSE(run(stick, message));
    EXPECT_NE(message.find("verweis' konnte nicht kopiert werden: Sie ist eine symbolische "
                           "Verknüpfung, und das Dateisystem des Ziels kann keine Verknüpfungen "
                           "speichern."),
              std::string::npos)
        << message;
    EXPECT_EQ(namesIn(copied_), std::vector<std::string>{"ziel.txt"});
}

TEST(NameTraitsProbe, FindsWhatTheTestFolderHoldsAndLeavesNothingBehind) {
    test::TempDir folder;
    DestinationTraits traits;
    traits.foldsCase = true;
    traits.holdsLinks = false;
    traits.timeStepNs = 7;
    probeNameTraits(folder.path().string(), traits);
    EXPECT_TRUE(namesIn(folder.path()).empty());
    EXPECT_EQ(traits.timeStepNs, 7) << "not its field";
#ifdef _WIN32
    EXPECT_TRUE(traits.windowsNames);
    EXPECT_TRUE(traits.foldsCase);
#else
    // The tests' folders lie on the system's own file systems (ext4, tmpfs, overlay).
    EXPECT_FALSE(traits.windowsNames);
    EXPECT_FALSE(traits.foldsCase);
    EXPECT_TRUE(traits.holdsLinks);
    EXPECT_EQ(traits.largestFile, DestinationTraits{}.largestFile);
#endif
}

}  // namespace
}  // namespace vaultrix
