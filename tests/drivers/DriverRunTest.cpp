// Backup runs onto FAT32, exFAT and NTFS as mounted by the drivers a Linux desktop uses
// (fusefat, exfat-fuse, ntfs-3g). tests/drivers/run.sh mounts the images and names the mount
// points in the environment; without them every case fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/BackupRunner.h"
#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::readBytes;
using test::writeBytes;

constexpr std::int64_t kSecondNs = 1'000'000'000;
// An odd second with a fraction: FAT keeps 2 s steps, exFAT through its driver 1 s.
constexpr std::int64_t kOddTime = 1'600'000'001 * kSecondNs + 123'456'789;

struct Driver {
    const char* name;
    const char* mountVariable;
    bool foldsCase;
    bool holdsLinks;
    std::int64_t stepNs;
    std::uint64_t largestFile;  // 0: no limit below what the image holds
    // fusefat refuses every name beyond ASCII with EPERM, where a stick's own file system and
    // Windows take them.
    bool asciiNamesOnly;
};

void PrintTo(const Driver& driver, std::ostream* out) {
    *out << driver.name;
}

std::string mountOf(const char* variable) {
    const char* value = std::getenv(variable);
    return value == nullptr ? std::string() : std::string(value);
}

// Whatever is written, made, renamed, removed or changed below the folder, told by inotifywait. The
// probes' temporary entries do not count.
class WriteWatch {
public:
    explicit WriteWatch(const stdfs::path& folder)
        : folder_(folder),
          log_((stdfs::temp_directory_path() / ("vaultrix-watch-" + std::to_string(::getpid())))
                   .string()) {
        const std::string command =
            "inotifywait -m -r -e create,modify,attrib,moved_to,moved_from,delete --format '%e "
            "%w%f' '" +
            folder_.string() + "' >'" + log_ + "' 2>&1 & echo $!";
        FILE* shell = ::popen(command.c_str(), "r");
        if (shell != nullptr) {
            if (std::fscanf(shell, "%d", &pid_) != 1) pid_ = 0;
            ::pclose(shell);
        }
        ready_ = pid_ > 0 && test::eventually([&] {
                     return readBytes(log_).find("Watches established.") != std::string::npos;
                 });
    }
    ~WriteWatch() {
        if (pid_ > 0) ::kill(pid_, SIGTERM);
        std::remove(log_.c_str());
    }

    bool ready() const { return ready_; }

    // The writes seen so far, one a line; a marker written last tells that all have arrived.
    std::vector<std::string> writes() {
        const stdfs::path marker = folder_ / "zz-watch-marker";
        writeBytes(marker, "");
        EXPECT_TRUE(test::eventually(
            [&] { return readBytes(log_).find(marker.string()) != std::string::npos; }));
        stdfs::remove(marker);
        std::vector<std::string> lines;
        std::istringstream text(readBytes(log_));
        std::string line;
        while (std::getline(text, line)) {
            if (line.find("Watches established") != std::string::npos ||
                line.find("Setting up watches") != std::string::npos ||
                line.find(".vxtmp") != std::string::npos) {
                continue;
            }
            if (line.find(marker.string()) != std::string::npos) break;
            lines.push_back(line);
        }
        return lines;
    }

private:
    stdfs::path folder_;
    std::string log_;
    int pid_ = 0;
    bool ready_ = false;
};

// A run observer that keeps the outcome and can pull the mount after some files.
class DriverObserver final : public RunObserver {
public:
    void onProgress(const CopyProgress& progress) override {
        last = progress;
        if (pullAfterFiles > 0 && !pulled && progress.filesDone >= pullAfterFiles) {
            pulled = true;
            const std::string point = "'" + pullMount + "'";
            // A busy mount (the counting walk may be reading it) is detached all the same.
            if (std::system(("fusermount -u " + point + " 2>/dev/null").c_str()) != 0)
                pulledCleanly = std::system(("fusermount -u -z " + point).c_str()) == 0;
            else
                pulledCleanly = true;
            pulledAt = progress;
        }
    }
    bool cancelRequested() override { return false; }
    void onRunSucceeded(const std::string&) override {}
    void onRunFailed(const std::string& text) override { message = text; }
    void onLogFailed(const std::string& text) override { ADD_FAILURE() << text; }

    std::string message;
    CopyProgress last;
    std::uint64_t pullAfterFiles = 0;
    std::string pullMount;
    bool pulled = false;
    bool pulledCleanly = false;
    CopyProgress pulledAt;
};

// A set "Stick" of one source folder into a destination folder, with its data folder.
class DriverRun {
public:
    DriverRun(const stdfs::path& source, const stdfs::path& destination) {
        stdfs::create_directories(data_);
        EXPECT_TRUE(settings_.saveDialogSettings({true, false, false}).ok());
        BackupSet set{"Stick", {source.string()}, destination.string(), "täglich", "18:30", true};
        EXPECT_TRUE(sets_.saveNewSet(set).ok());
    }

    bool run(DriverObserver& observer) { return runner_.RunBackupSet("Stick", true, observer); }
    // The outcome the log's last record holds.
    std::string lastOutcome() const {
        const std::string text = log_.LoadLogText();
        const std::size_t at = text.rfind("Verlauf=");
        return at == std::string::npos ? "" : text.substr(at + 8, text.find('\n', at) - at - 8);
    }

private:
    test::TempDir root_;
    const stdfs::path data_ = root_ / "daten";
    test::FakeClock clock_{test::at(6, 12, 2026, 19, 30, 5, 0)};
    BackupSetStore sets_{data_};
    SettingsStore settings_{data_};
    RunLog log_{data_, clock_};
    BackupRunner runner_{sets_, settings_, log_};
};

void writeFile(const stdfs::path& path, const std::string& bytes, stdfs::perms mode) {
    stdfs::create_directories(path.parent_path());
    writeBytes(path, bytes);
    stdfs::permissions(path, mode);
    test::setModified(path, kOddTime);
}

class DriverRunTest : public ::testing::TestWithParam<Driver> {};

TEST_P(DriverRunTest, ARunKeepsContentsReportsWhatTheDriveCannotHoldAndARepeatWritesNothing) {
    const Driver& driver = GetParam();
    const std::string mount = mountOf(driver.mountVariable);
    ASSERT_FALSE(mount.empty()) << driver.mountVariable << " names no mount point: the driver "
                                << driver.name
                                << " is missing, or tests/drivers/run.sh was not used";
    test::TempDir sourceRoot;
    const stdfs::path source = sourceRoot / "Daten";
    writeFile(source / "privat.txt", "nur für mich", stdfs::perms(0600));
    writeFile(source / "skript.sh", "#!/bin/sh\necho hallo\n", stdfs::perms(0755));
    writeFile(source / "README", "GROSS", stdfs::perms(0644));
    writeFile(source / "readme", "klein", stdfs::perms(0644));
    writeFile(source / "a:b", "Doppelpunkt", stdfs::perms(0644));
    writeFile(source / "Ordner" / "Unterordner" / "tief.txt", std::string(70'000, 't'),
              stdfs::perms(0644));
    writeFile(source / "Ordner" / "Grüße.txt", "Grüße", stdfs::perms(0644));
    stdfs::create_symlink("privat.txt", source / "verweis");
    if (driver.largestFile > 0) {
        // Sparse: the driver would take its start and fail only at the limit.
        writeFile(source / "groß.bin", "", stdfs::perms(0644));
        stdfs::resize_file(source / "groß.bin", driver.largestFile + 1);
    }
    const stdfs::path destination = stdfs::path(mount) / ("Ziel-" + std::to_string(::getpid()));
    const stdfs::path copied = destination / "Daten";
    DriverRun set(source, destination);

    DriverObserver first;
    EXPECT_FALSE(set.run(first));
    EXPECT_EQ(set.lastOutcome(), "error");
    EXPECT_NE(first.message.find("„a:b“ enthält ein Zeichen"), std::string::npos) << first.message;
    EXPECT_FALSE(stdfs::exists(copied / "a:b"));
    EXPECT_EQ(readBytes(copied / "privat.txt"), "nur für mich");
    EXPECT_EQ(readBytes(copied / "skript.sh"), "#!/bin/sh\necho hallo\n");
    EXPECT_TRUE(readBytes(copied / "Ordner" / "Unterordner" / "tief.txt") ==
                std::string(70'000, 't'));
    if (driver.asciiNamesOnly) {
        EXPECT_NE(first.message.find("Grüße.txt' konnte nicht kopiert werden"), std::string::npos)
            << first.message;
    } else {
        EXPECT_EQ(readBytes(copied / "Ordner" / "Grüße.txt"), "Grüße");
        EXPECT_LT(std::llabs(test::modifiedOf(copied / "Ordner" / "Grüße.txt") - kOddTime),
                  driver.stepNs);
    }
    for (const char* name : {"privat.txt", "skript.sh"}) {
        EXPECT_LT(std::llabs(test::modifiedOf(copied / name) - kOddTime), driver.stepNs) << name;
    }
    if (driver.foldsCase) {
        EXPECT_NE(first.message.find("Im Ziel trägt „README“ denselben Namen wie „readme“"),
                  std::string::npos)
            << first.message;
        EXPECT_EQ(readBytes(copied / "README"), "GROSS");
    } else {
        EXPECT_EQ(readBytes(copied / "README"), "GROSS");
        EXPECT_EQ(readBytes(copied / "readme"), "klein");
    }
    if (driver.largestFile > 0) {
        EXPECT_NE(first.message.find("groß.bin' konnte nicht kopiert werden: Die Datei ist zu groß "
                                     "für das Ziel: Sein Dateisystem hält nur Dateien bis 4 GB."),
                  std::string::npos)
            << first.message;
        EXPECT_FALSE(stdfs::exists(copied / "groß.bin"));
    }
    if (driver.holdsLinks) {
        EXPECT_EQ(stdfs::read_symlink(copied / "verweis"), "privat.txt");
    } else {
        EXPECT_NE(first.message.find("verweis' konnte nicht kopiert werden: Sie ist eine "
                                     "symbolische Verknüpfung"),
                  std::string::npos)
            << first.message;
    }

    WriteWatch watch(destination);
    ASSERT_TRUE(watch.ready()) << "inotifywait did not start";
    DriverObserver second;
    EXPECT_FALSE(set.run(second));
    EXPECT_EQ(set.lastOutcome(), "error") << "what cannot be held is reported on every run";
    EXPECT_NE(second.message.find("„a:b“"), std::string::npos) << second.message;
    if (driver.foldsCase) {
        EXPECT_NE(second.message.find("„README“"), std::string::npos) << second.message;
    }
    EXPECT_EQ(watch.writes(), std::vector<std::string>{}) << "an unchanged tree is not written";
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, DriverRunTest,
    ::testing::Values(Driver{"fusefat", "VAULTRIX_FAT_MOUNT", true, false, 2 * kSecondNs,
                             (std::uint64_t{4} << 30) - 1, true},
                      Driver{"exfat-fuse", "VAULTRIX_EXFAT_MOUNT", true, false, kSecondNs, 0,
                             false},
                      Driver{"ntfs-3g", "VAULTRIX_NTFS_MOUNT", false, true, 100, 0, false}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            if (c == '-') c = '_';
        }
        return name;
    });

TEST(DriverPull, AMountPulledDuringARunFailsItAndEveryFileCountedIsThere) {
    const std::string mount = mountOf("VAULTRIX_PULL_MOUNT");
    const std::string remount = mountOf("VAULTRIX_PULL_REMOUNT");
    ASSERT_FALSE(mount.empty() || remount.empty())
        << "VAULTRIX_PULL_MOUNT and VAULTRIX_PULL_REMOUNT name no mount: use tests/drivers/run.sh";
    test::TempDir sourceRoot;
    const stdfs::path source = sourceRoot / "Daten";
    constexpr int kFiles = 40;
    for (int i = 0; i < kFiles; ++i) {
        writeFile(source / ("Teil " + std::to_string(100 + i)) / "daten.bin",
                  std::string(50'000, static_cast<char>('a' + i % 26)), stdfs::perms(0644));
    }
    const stdfs::path destination = stdfs::path(mount) / "Ziel";
    DriverRun set(source, destination);

    DriverObserver observer;
    observer.pullAfterFiles = 10;
    observer.pullMount = mount;
    EXPECT_FALSE(set.run(observer));
    ASSERT_TRUE(observer.pulled);
    EXPECT_TRUE(observer.pulledCleanly);
    EXPECT_EQ(set.lastOutcome(), "error");
    EXPECT_NE(observer.message.find("ist nicht verfügbar"), std::string::npos) << observer.message;
    EXPECT_FALSE(stdfs::exists(destination)) << "nothing was written onto the system disk";

    ASSERT_EQ(std::system(remount.c_str()), 0) << remount;
    std::uint64_t whole = 0;
    for (int i = 0; i < kFiles; ++i) {
        const stdfs::path file =
            destination / "Daten" / ("Teil " + std::to_string(100 + i)) / "daten.bin";
        if (!stdfs::exists(file)) continue;
        EXPECT_TRUE(readBytes(file) ==
                    readBytes(source / file.parent_path().filename() / "daten.bin"))
            << file;
        ++whole;
    }
    EXPECT_GE(whole, observer.last.filesDone) << "every file the run counted as copied is there";
    EXPECT_LT(whole, static_cast<std::uint64_t>(kFiles)) << "the pull came before the end";
}

}  // namespace
}  // namespace vaultrix
