#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/CopyToFolder.h"
#include "engine/CopyToFolderNames.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Cancels once the copy has reported progress `cancelAfter` times (never when 0).
class TestObserver final : public CopyObserver {
public:
    explicit TestObserver(int cancelAfter = 0) : cancelAfter_(cancelAfter) {}
    void onProgress(const CopyProgress& progress) override {
        last = progress;
        ++reports;
    }
    bool cancelRequested() override { return cancelAfter_ > 0 && reports >= cancelAfter_; }

    CopyProgress last;
    int reports = 0;

private:
    int cancelAfter_;
};

// Fails every write once the run has written more than `limit` bytes.
class FullDiskAfter final : public CopyFaults {
public:
    explicit FullDiskAfter(std::uint64_t limit) : limit_(limit) {}
    fs::OsCode afterChunk(std::uint64_t bytesWritten) override {
        return bytesWritten > limit_ ? ENOSPC : fs::kOsOk;
    }

private:
    std::uint64_t limit_;
};

const stdfs::file_time_type kOldTime =
    stdfs::file_time_type(std::chrono::nanoseconds(1'600'000'000'123'456'789LL));

void writeFile(const stdfs::path& path, const std::string& bytes,
               stdfs::file_time_type time = kOldTime) {
    writeBytes(path, bytes);
    stdfs::last_write_time(path, time);
}

// The message of a failed copy. Built by appends: g++ 12 at -O3 warns falsely (-Wrestrict)
// about "'" + std::string.
std::string notCopied(const stdfs::path& path, const std::string& reason) {
    std::string message = "'";
    message += path.string();
    message += "' konnte nicht kopiert werden: ";
    message += reason;
    return message;
}

std::vector<std::string> namesIn(const stdfs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::uint64_t inodeOf(const stdfs::path& path) {
    fs::EntryInfo info;
    EXPECT_EQ(fs::statEntry(path.string(), info), fs::kOsOk);
    return info.index;
}

Result<> backUp(const stdfs::path& source, const stdfs::path& destination,
                unsigned flags = kCopyFlagsOverwrite) {
    TestObserver observer;
    return CopyToFolder(source.string(), destination.string(), flags, observer);
}

class CopyToFolderTest : public ::testing::Test {
protected:
    TempDir dir;
    stdfs::path source = dir / "Daten";
    stdfs::path destination = dir / "Sicherung";
};

TEST_F(CopyToFolderTest, FolderArrivesWholeWithHiddenFilesEmptyFoldersUmlautsLinksTimesAndModes) {
    stdfs::create_directories(source / "Unterordner" / "Tiefer");
    stdfs::create_directories(source / "Leer");
    writeFile(source / "Übersicht für Jörg.txt", "Grüße");
    writeFile(source / ".versteckt", "hidden");
    writeFile(source / "Unterordner" / "Tiefer" / "leer.bin", "");
    writeFile(source / "Unterordner" / "bild.raw", std::string(300'000, '\x7f'));
    stdfs::permissions(source / "Unterordner" / "bild.raw", stdfs::perms(0640));
    stdfs::create_symlink("Unterordner/bild.raw", source / "verweis");
    stdfs::create_symlink("/nirgendwo/hin", source / "ins-leere");
    stdfs::create_directory_symlink(dir.path(), source / "ordnerverweis");
    stdfs::last_write_time(source / "Unterordner", kOldTime);
    stdfs::permissions(source / "Leer", stdfs::perms(0555));

    TestObserver observer;
    ASSERT_TRUE(CopyToFolder(source.string(), destination.string(), kCopyFlagsOverwrite, observer));

    const stdfs::path copied = destination / "Daten";
    EXPECT_EQ(namesIn(copied), namesIn(source));
    EXPECT_EQ(readBytes(copied / "Übersicht für Jörg.txt"), "Grüße");
    EXPECT_EQ(readBytes(copied / ".versteckt"), "hidden");
    EXPECT_EQ(readBytes(copied / "Unterordner" / "bild.raw"),
              readBytes(source / "Unterordner" / "bild.raw"));
    EXPECT_TRUE(stdfs::is_empty(copied / "Unterordner" / "Tiefer" / "leer.bin"));
    EXPECT_TRUE(stdfs::is_empty(copied / "Leer"));
    EXPECT_EQ(stdfs::last_write_time(copied / "Unterordner" / "bild.raw"), kOldTime);
    EXPECT_EQ(stdfs::last_write_time(copied / "Unterordner"), kOldTime);
    EXPECT_EQ(stdfs::status(copied / "Unterordner" / "bild.raw").permissions(), stdfs::perms(0640));
    EXPECT_EQ(stdfs::status(copied / "Leer").permissions(), stdfs::perms(0555));
    // Links stay links, pointing where they pointed; a link to a folder is not followed.
    EXPECT_EQ(stdfs::read_symlink(copied / "verweis"), "Unterordner/bild.raw");
    EXPECT_EQ(stdfs::read_symlink(copied / "ins-leere"), "/nirgendwo/hin");
    EXPECT_TRUE(stdfs::is_symlink(copied / "ordnerverweis"));

    EXPECT_EQ(observer.last.filesDone, 7u);
    EXPECT_EQ(observer.last.bytesDone, 300'000u + 7 + 6);

    // An unchanged tree copied again is left exactly as it is.
    const auto inode = inodeOf(copied / "Unterordner" / "bild.raw");
    const auto folderTime = stdfs::last_write_time(copied);
    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(inodeOf(copied / "Unterordner" / "bild.raw"), inode);
    EXPECT_EQ(stdfs::last_write_time(copied), folderTime);
    EXPECT_EQ(stdfs::status(copied / "Leer").permissions(), stdfs::perms(0555));
}

TEST_F(CopyToFolderTest, FileSourceLandsUnderItsOwnNameAndMissingDestinationIsMadeOneLevel) {
    stdfs::create_directories(source);
    writeFile(source / "Brief.odt", "Inhalt");
    ASSERT_TRUE(backUp(source / "Brief.odt", destination));
    EXPECT_EQ(readBytes(destination / "Brief.odt"), "Inhalt");
    EXPECT_EQ(stdfs::last_write_time(destination / "Brief.odt"), kOldTime);

    // An unplugged drive's mount point: its parent is missing, so nothing is made anywhere.
    const stdfs::path unplugged = dir / "media" / "usb" / "Sicherung";
    const Result<> result = backUp(source, unplugged);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().path, unplugged.string());
    EXPECT_EQ(result.error().message,
              "Der Zielordner '" + unplugged.string() +
                  "' ist nicht verfügbar: Datei oder Ordner nicht gefunden");
    EXPECT_FALSE(stdfs::exists(dir / "media"));
}

TEST_F(CopyToFolderTest, OverwriteReplacesChangedFilesMergesFoldersAndDeletesNothing) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "alt");
    writeFile(source / "Sub" / "b.txt", "bleibt");
    ASSERT_TRUE(backUp(source, destination));
    const stdfs::path copied = destination / "Daten";
    writeFile(copied / "Sub" / "nur-im-ziel.txt", "extra");
    const auto unchangedInode = inodeOf(copied / "Sub" / "b.txt");

    // Same size, newer time: replaced. A new file arrives; the target's own file stays.
    writeFile(source / "a.txt", "neu", kOldTime + std::chrono::seconds(5));
    writeFile(source / "Sub" / "c.txt", "dazu");
    stdfs::permissions(source / "Sub" / "b.txt", stdfs::perms(0600));
    ASSERT_TRUE(backUp(source, destination));

    EXPECT_EQ(readBytes(copied / "a.txt"), "neu");
    EXPECT_EQ(stdfs::last_write_time(copied / "a.txt"), kOldTime + std::chrono::seconds(5));
    EXPECT_EQ(readBytes(copied / "Sub" / "c.txt"), "dazu");
    EXPECT_EQ(readBytes(copied / "Sub" / "nur-im-ziel.txt"), "extra");
    EXPECT_EQ(inodeOf(copied / "Sub" / "b.txt"), unchangedInode);
    EXPECT_EQ(stdfs::status(copied / "Sub" / "b.txt").permissions(), stdfs::perms(0600));
    EXPECT_EQ(namesIn(copied), (std::vector<std::string>{"Sub", "a.txt"}));

    // A folder where the source has a file is never deleted to make room.
    stdfs::create_directory(copied / "d.txt");
    writeFile(source / "d.txt", "x");
    const Result<> result = backUp(source, destination);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().path, (source / "d.txt").string());
    EXPECT_TRUE(stdfs::is_directory(copied / "d.txt"));
}

TEST_F(CopyToFolderTest, NewCopyKeepsEveryEarlierCopyAndNumbersTheNextOnes) {
    stdfs::create_directories(source);
    writeFile(source / "Bericht.txt", "1");
    for (int run = 0; run < 3; ++run) {
        writeFile(source / "Bericht.txt", std::to_string(run + 1));
        ASSERT_TRUE(backUp(source / "Bericht.txt", destination, kCopyFlagsNewCopy));
        ASSERT_TRUE(backUp(source, destination, kCopyFlagsNewCopy));
    }
    EXPECT_EQ(
        namesIn(destination),
        (std::vector<std::string>{"Bericht - Kopie (2).txt", "Bericht - Kopie.txt", "Bericht.txt",
                                  "Daten", "Daten - Kopie", "Daten - Kopie (2)"}));
    EXPECT_EQ(readBytes(destination / "Bericht.txt"), "1");
    EXPECT_EQ(readBytes(destination / "Bericht - Kopie.txt"), "2");
    EXPECT_EQ(readBytes(destination / "Bericht - Kopie (2).txt"), "3");
    EXPECT_EQ(readBytes(destination / "Daten - Kopie (2)" / "Bericht.txt"), "3");
}

TEST(CopyToFolderNames, CopiesAndTemporaryFilesAreNamedPredictablyWithinTheNameLimit) {
    EXPECT_EQ(newCopyName("Bild.jpg", false, 1), "Bild - Kopie.jpg");
    EXPECT_EQ(newCopyName("Bild.jpg", false, 3), "Bild - Kopie (3).jpg");
    EXPECT_EQ(newCopyName("archiv.tar.gz", false, 1), "archiv.tar - Kopie.gz");
    EXPECT_EQ(newCopyName("README", false, 1), "README - Kopie");
    EXPECT_EQ(newCopyName(".bashrc", false, 2), ".bashrc - Kopie (2)");
    EXPECT_EQ(newCopyName("Version 1.2", true, 1), "Version 1.2 - Kopie");

    // Long names are shortened before the suffix, never inside a UTF-8 character.
    std::string umlauts;
    for (int i = 0; i < 127; ++i) umlauts += "ä";
    const std::string copyName = newCopyName(umlauts + ".txt", false, 12);
    EXPECT_LE(copyName.size(), fs::kMaxNameBytes);
    EXPECT_EQ(copyName.substr(copyName.size() - 17), " - Kopie (12).txt");
    EXPECT_EQ(copyName.size() % 2, 1u);  // whole two-byte letters plus the odd-length tail

    const std::string temporary = temporaryName(umlauts, 0x3f9a2c);
    EXPECT_LE(temporary.size(), fs::kMaxNameBytes);
    EXPECT_TRUE(isTemporaryName(temporary));
    EXPECT_EQ(temporaryName("Brief.odt", 0x3f9a2c), ".Brief.odt.vx3f9a2c.vxtmp");
    EXPECT_TRUE(isTemporaryName(".Brief.odt.vx3f9a2c.vxtmp"));
    for (const char* name : {"Brief.odt.vx3f9a2c.vxtmp", ".Brief.odt.vx3f9a2.vxtmp",
                             ".Brief.odt.vx3F9A2C.vxtmp", ".vx3f9a2c.vxtmp", ".Notiz.vxtmp"}) {
        EXPECT_FALSE(isTemporaryName(name)) << name;
    }
}

TEST_F(CopyToFolderTest, LeftoversOfACrashedRunAreRemovedFromTheFoldersWritten) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "Sub" / "a.txt", "a");
    ASSERT_TRUE(backUp(source, destination));
    writeFile(destination / ".Daten.vx000001.vxtmp", "");
    writeFile(destination / "Daten" / "Sub" / ".a.txt.vxabcdef.vxtmp", "halb");
    writeFile(destination / "Daten" / "Sub" / ".eigene.vxtmp", "bleibt");

    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(namesIn(destination), std::vector<std::string>{"Daten"});
    EXPECT_EQ(namesIn(destination / "Daten" / "Sub"),
              (std::vector<std::string>{".eigene.vxtmp", "a.txt"}));
}

TEST_F(CopyToFolderTest, DestinationInsideTheSourceIsNotCopiedIntoItself) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "a");
    writeFile(source / "Sub" / "b.txt", "b");
    const stdfs::path inside = source / "Backup";
    for (int run = 0; run < 2; ++run) ASSERT_TRUE(backUp(source, inside));
    EXPECT_EQ(namesIn(inside / "Daten"), (std::vector<std::string>{"Sub", "a.txt"}));

    // The source as its own destination: the copy lands inside once and is not walked.
    ASSERT_TRUE(backUp(source / "Sub", source / "Sub"));
    EXPECT_EQ(namesIn(source / "Sub" / "Sub"), std::vector<std::string>{"b.txt"});
}

TEST_F(CopyToFolderTest, FailuresNameThePathAndTheReasonAndLeaveNothingHalfWritten) {
    const Result<> missing = backUp(dir / "fehlt.txt", destination);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message,
              notCopied(dir / "fehlt.txt", "Datei oder Ordner nicht gefunden"));
    EXPECT_EQ(missing.error().path, (dir / "fehlt.txt").string());
    EXPECT_FALSE(stdfs::exists(destination));

    stdfs::create_directories(source);
    writeFile(source / "a.txt", "a");
    writeFile(dir / "datei", "");
    const Result<> underFile = backUp(source, dir / "datei" / "Ziel");
    ASSERT_FALSE(underFile);
    EXPECT_NE(underFile.error().message.find("Ein Teil des Pfades ist kein Ordner"),
              std::string::npos);

    const Result<> tooLong = backUp(source, dir / std::string(300, 'x'));
    ASSERT_FALSE(tooLong);
    EXPECT_NE(tooLong.error().message.find("zu lang"), std::string::npos);
}

TEST_F(CopyToFolderTest, FullDiskKeepsTheOlderBackupAndLeavesNoPartialFile) {
    stdfs::create_directories(source);
    const std::string older(9 << 20, 'o');
    writeFile(source / "gross.bin", older);
    ASSERT_TRUE(backUp(source / "gross.bin", destination));
    writeFile(source / "gross.bin", std::string(10 << 20, 'n'), kOldTime + std::chrono::hours(1));
    writeFile(source / "neu.bin", std::string(10 << 20, 'n'));

    TestObserver observer;
    FullDiskAfter full(1 << 20);
    const Result<> replaced = CopyToFolderWithFaults(
        (source / "gross.bin").string(), destination.string(), kCopyFlagsOverwrite, observer, full);
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().message,
              notCopied(source / "gross.bin", "Nicht genügend Speicherplatz auf dem Datenträger"));
    EXPECT_EQ(readBytes(destination / "gross.bin"), older);

    const Result<> fresh = CopyToFolderWithFaults(
        (source / "neu.bin").string(), destination.string(), kCopyFlagsOverwrite, observer, full);
    ASSERT_FALSE(fresh);
    EXPECT_EQ(namesIn(destination), std::vector<std::string>{"gross.bin"});
}

TEST_F(CopyToFolderTest, CancelInTheMiddleOfALargeFileKeepsTheOlderBackup) {
    stdfs::create_directories(source);
    writeFile(source / "film.mkv", "alte Fassung");
    ASSERT_TRUE(backUp(source, destination));
    writeFile(source / "film.mkv", std::string(24 << 20, 'f'), kOldTime + std::chrono::hours(1));

    TestObserver cancelling(1);
    const Result<> result =
        CopyToFolder(source.string(), destination.string(), kCopyFlagsOverwrite, cancelling);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message,
              notCopied(source / "film.mkv", "Der Vorgang wurde abgebrochen."));
    EXPECT_EQ(readBytes(destination / "Daten" / "film.mkv"), "alte Fassung");
    EXPECT_EQ(namesIn(destination / "Daten"), std::vector<std::string>{"film.mkv"});
}

}  // namespace
}  // namespace vaultrix
