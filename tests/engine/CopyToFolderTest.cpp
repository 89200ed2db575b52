#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CopyToFolder.h"
#include "engine/CopyToFolderNames.h"
#include "platform/TemporaryFiles.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::identityOf;
using test::makeLink;
using test::modifiedOf;
using test::permissionsOf;
using test::readBytes;
using test::setModified;
using test::TempDir;
using test::writeBytes;

// The system's codes for a full disk and for a disk that fails a write.
#ifdef _WIN32
constexpr fs::OsCode kDiskFull = ERROR_DISK_FULL;
constexpr fs::OsCode kIoError = ERROR_IO_DEVICE;
#else
constexpr fs::OsCode kDiskFull = ENOSPC;
constexpr fs::OsCode kIoError = EIO;
#endif

// Cancels once the copy has reported progress `cancelAfter` times (never when 0).
class TestObserver final : public CopyObserver {
public:
    explicit TestObserver(int cancelAfter = 0) : cancelAfter_(cancelAfter) {}
    void onProgress(const CopyProgress& progress) override {
        last = progress;
        ++reports;
    }
    bool cancelRequested() override { return cancelAfter_ > 0 && reports >= cancelAfter_; }
    void onFailure(const Error& error) override { failures.push_back(error); }

    CopyProgress last;
    int reports = 0;
    std::vector<Error> failures;

private:
    int cancelAfter_;
};

// Fails every write once the run has written more than `limit` bytes.
class FullDiskAfter final : public CopyFaults {
public:
    explicit FullDiskAfter(std::uint64_t limit) : limit_(limit) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t bytesWritten) override {
        return bytesWritten > limit_ ? kDiskFull : fs::kOsOk;
    }

private:
    std::uint64_t limit_;
};

// Nanoseconds since 1970, in the 100 ns steps that Windows keeps.
constexpr std::int64_t kOldTime = 1'600'000'000'123'456'700LL;
constexpr std::int64_t kSecondNs = 1'000'000'000;

void writeFile(const stdfs::path& path, const std::string& bytes, std::int64_t time = kOldTime) {
    writeBytes(path, bytes);
    setModified(path, time);
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

fs::EntryKind kindOf(const stdfs::path& path) {
    fs::EntryInfo info;
    EXPECT_EQ(fs::statEntry(path.string(), info), fs::kOsOk);
    return info.kind;
}

class NoFaults final : public CopyFaults {
public:
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
};

// Every case runs with one worker (each entry written on the walk's thread) and with several:
// the outcome must not depend on how many write at once.
class CopyToFolderTest : public ::testing::TestWithParam<unsigned> {
protected:
    Result<> copy(const stdfs::path& from, const stdfs::path& to, unsigned flags,
                  CopyObserver& observer) {
        NoFaults none;
        return copy(from, to, flags, observer, none);
    }
    Result<> copy(const stdfs::path& from, const stdfs::path& to, unsigned flags,
                  CopyObserver& observer, CopyFaults& faults) {
        return CopyToFolderWithFaults(from.string(), to.string(), flags, observer, faults,
                                      GetParam());
    }
    Result<> backUp(const stdfs::path& from, const stdfs::path& to,
                    unsigned flags = kCopyFlagsOverwrite) {
        TestObserver observer;
        return copy(from, to, flags, observer);
    }
    // Copies the source into each target by both methods and expects every copy refused.
    void expectRefusedAsItsOwnDestination(const std::vector<stdfs::path>& targets) {
        for (const stdfs::path& target : targets) {
            for (const unsigned flags : {kCopyFlagsOverwrite, kCopyFlagsNewCopy}) {
                const Result<> result = backUp(source, target, flags);
                ASSERT_FALSE(result) << target;
                EXPECT_EQ(result.error().message, kSameSourceAndDestination);
                EXPECT_EQ(result.error().path, source.string());
            }
        }
        EXPECT_EQ(namesIn(source), (std::vector<std::string>{"Sub", "a.txt"}));
    }

    TempDir dir;
    stdfs::path source = dir / "Daten";
    stdfs::path destination = dir / "Sicherung";
};

INSTANTIATE_TEST_SUITE_P(Workers, CopyToFolderTest, ::testing::Values(1u, kCopyWorkers),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return info.param == 1 ? std::string("OneWorker")
                                                    : std::string("SeveralWorkers");
                         });

TEST_P(CopyToFolderTest, FolderArrivesWholeWithHiddenFilesEmptyFoldersUmlautsTimesAndPermissions) {
    stdfs::create_directories(source / "Unterordner" / "Tiefer");
    stdfs::create_directories(source / "Leer");
    writeFile(source / "Übersicht für Jörg.txt", "Grüße");
    writeFile(source / ".versteckt", "hidden");
    writeFile(source / "Unterordner" / "Tiefer" / "leer.bin", "");
    writeFile(source / "Unterordner" / "bild.raw", std::string(300'000, '\x7f'));
    // Read-only on Windows, mode bits of their own on POSIX.
    stdfs::permissions(source / "Unterordner" / "bild.raw", stdfs::perms(0440));
    setModified(source / "Unterordner", kOldTime);
    stdfs::permissions(source / "Leer", stdfs::perms(0555));

    TestObserver observer;
    ASSERT_TRUE(copy(source, destination, kCopyFlagsOverwrite, observer));

    const stdfs::path copied = destination / "Daten";
    EXPECT_EQ(namesIn(copied), namesIn(source));
    EXPECT_EQ(readBytes(copied / "Übersicht für Jörg.txt"), "Grüße");
    EXPECT_EQ(readBytes(copied / ".versteckt"), "hidden");
    EXPECT_EQ(readBytes(copied / "Unterordner" / "bild.raw"),
              readBytes(source / "Unterordner" / "bild.raw"));
    EXPECT_TRUE(stdfs::is_empty(copied / "Unterordner" / "Tiefer" / "leer.bin"));
    EXPECT_TRUE(stdfs::is_empty(copied / "Leer"));
    EXPECT_EQ(modifiedOf(copied / "Unterordner" / "bild.raw"), kOldTime);
    EXPECT_EQ(modifiedOf(copied / "Unterordner"), kOldTime);
    for (const char* entry : {"Unterordner/bild.raw", "Leer", "Unterordner", ".versteckt"})
        EXPECT_EQ(permissionsOf(copied / entry), permissionsOf(source / entry)) << entry;

    EXPECT_EQ(observer.last.filesDone, 4u);
    EXPECT_EQ(observer.last.bytesDone, 300'000u + 7 + 6);

    // An unchanged tree copied again is left exactly as it is.
    const auto identity = identityOf(copied / "Unterordner" / "bild.raw");
    const auto folderTime = modifiedOf(copied);
    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(identityOf(copied / "Unterordner" / "bild.raw"), identity);
    EXPECT_EQ(modifiedOf(copied), folderTime);
    EXPECT_EQ(permissionsOf(copied / "Leer"), permissionsOf(source / "Leer"));
}

TEST_P(CopyToFolderTest, LinksStayLinksAndAreNeverFollowed) {
    stdfs::create_directories(source / "Unterordner");
    writeFile(source / "Unterordner" / "bild.raw", "Bild");
    if (const std::string why = makeLink("Unterordner/bild.raw", source / "verweis"); !why.empty())
        GTEST_SKIP() << why;
    ASSERT_EQ(makeLink(dir / "nirgendwo" / "hin", source / "ins-leere"), "");
    ASSERT_EQ(makeLink(dir.path(), source / "ordnerverweis", true), "");

    TestObserver observer;
    ASSERT_TRUE(copy(source, destination, kCopyFlagsOverwrite, observer));
    const stdfs::path copied = destination / "Daten";
    EXPECT_EQ(kindOf(copied / "verweis"), fs::EntryKind::Link);
    EXPECT_EQ(kindOf(copied / "ins-leere"), fs::EntryKind::Link);
#ifdef _WIN32
    // A folder link is left out on Windows, like a junction: never followed, and not portable.
    EXPECT_EQ(kindOf(copied / "ordnerverweis"), fs::EntryKind::Missing);
#else
    EXPECT_EQ(stdfs::read_symlink(copied / "verweis"), "Unterordner/bild.raw");
    EXPECT_EQ(stdfs::read_symlink(copied / "ins-leere"), dir / "nirgendwo" / "hin");
    EXPECT_EQ(kindOf(copied / "ordnerverweis"), fs::EntryKind::Link);
#endif
    EXPECT_EQ(readBytes(copied / "Unterordner" / "bild.raw"), "Bild");
}

TEST_P(CopyToFolderTest, FileSourceLandsUnderItsOwnNameAndMissingDestinationIsMadeOneLevel) {
    stdfs::create_directories(source);
    writeFile(source / "Brief.odt", "Inhalt");
    ASSERT_TRUE(backUp(source / "Brief.odt", destination));
    EXPECT_EQ(readBytes(destination / "Brief.odt"), "Inhalt");
    EXPECT_EQ(modifiedOf(destination / "Brief.odt"), kOldTime);

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

TEST_P(CopyToFolderTest, OverwriteReplacesChangedFilesMergesFoldersAndDeletesNothingElse) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "alt");
    writeFile(source / "Sub" / "b.txt", "bleibt");
    ASSERT_TRUE(backUp(source, destination));
    const stdfs::path copied = destination / "Daten";
    writeFile(copied / "Sub" / "nur-im-ziel.txt", "extra");
    const auto unchanged = identityOf(copied / "Sub" / "b.txt");

    // Same size, newer time: replaced. A new file arrives; the target's own file stays.
    writeFile(source / "a.txt", "neu", kOldTime + 5 * kSecondNs);
    writeFile(source / "Sub" / "c.txt", "dazu");
    stdfs::permissions(source / "Sub" / "b.txt", stdfs::perms(0400));
    ASSERT_TRUE(backUp(source, destination));

    EXPECT_EQ(readBytes(copied / "a.txt"), "neu");
    EXPECT_EQ(modifiedOf(copied / "a.txt"), kOldTime + 5 * kSecondNs);
    EXPECT_EQ(readBytes(copied / "Sub" / "c.txt"), "dazu");
    EXPECT_EQ(readBytes(copied / "Sub" / "nur-im-ziel.txt"), "extra");
    EXPECT_EQ(identityOf(copied / "Sub" / "b.txt"), unchanged);
    EXPECT_EQ(permissionsOf(copied / "Sub" / "b.txt"), permissionsOf(source / "Sub" / "b.txt"));
    EXPECT_EQ(namesIn(copied), (std::vector<std::string>{"Sub", "a.txt"}));
}

TEST_P(CopyToFolderTest, NewCopyKeepsEveryEarlierCopyAndNumbersTheNextOnes) {
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

    // Temporary names carry their writer, so another program can tell whether it is at work.
    const TemporaryOwner owner{4711, 0xa3f0};
    const std::string temporary = temporaryName(umlauts, owner, 0x3f9a2c);
    EXPECT_LE(temporary.size(), fs::kMaxNameBytes);
    EXPECT_EQ(temporaryOwner(temporary), owner);
    EXPECT_EQ(temporaryName("Brief.odt", owner, 0x3f9a2c), ".Brief.odt.vx4711-a3f0-3f9a2c.vxtmp");
    for (const char* name :
         {"Brief.odt.vx4711-a3f0-3f9a2c.vxtmp", ".Brief.odt.vx4711-a3f0-3f9a2.vxtmp",
          ".Brief.odt.vx4711-A3F0-3f9a2c.vxtmp", ".vx4711-a3f0-3f9a2c.vxtmp",
          ".Brief.vx-a3f0-3f9a2c.vxtmp", ".a.vx99999999999-a3f0-3f9a2c.vxtmp", ".Notiz.vxtmp"}) {
        EXPECT_FALSE(temporaryOwner(name)) << name;
    }
}

// Another program on this computer, running until it is ended.
class OtherProgram {
public:
#ifdef _WIN32
    OtherProgram() {
        // This test program itself, held before its first instruction.
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &process_)) {
            CloseHandle(process_.hThread);
        }
    }
    // The handle is held to the end, so the ended program's number is not handed out again.
    ~OtherProgram() {
        if (process_.hProcess == nullptr) return;
        end();
        CloseHandle(process_.hProcess);
    }
    unsigned long id() const {
        return process_.dwProcessId;
    }
    void end() {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }

private:
    PROCESS_INFORMATION process_{};
#else
    OtherProgram() : child_(::fork()) {
        if (child_ == 0) {
            for (;;) ::pause();
        }
    }
    ~OtherProgram() {
        end();
    }
    unsigned long id() const {
        return static_cast<unsigned long>(child_);
    }
    // Reaped, since a zombie still counts as running; its number is rarely handed out so soon.
    void end() {
        if (child_ <= 0 || ended_) return;
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
        ended_ = true;
    }

private:
    pid_t child_;
    bool ended_ = false;
#endif
};

TEST_P(CopyToFolderTest, OnlyLeftoversOfEndedProgramsAreRemovedNeverEntriesInUse) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "Sub" / "a.txt", "a");
    ASSERT_TRUE(backUp(source, destination));
    const std::uint16_t here = hostTag(fs::hostName());
    OtherProgram running;
    OtherProgram endedProgram;
    ASSERT_NE(running.id(), 0u);
    ASSERT_NE(endedProgram.id(), 0u);
    endedProgram.end();
    const TemporaryOwner ended{endedProgram.id(), here};
    const stdfs::path sub = destination / "Daten" / "Sub";
    // A new copy and a file cut short by a program that was killed.
    stdfs::create_directories(destination / temporaryName("Daten", ended, 1) / "tief");
    writeFile(sub / temporaryName("a.txt", ended, 2), "halb");
    // In the making: by another program running here, by this one, by one elsewhere.
    const std::vector<std::string> inUse = {
        temporaryName("a.txt", {running.id(), here}, 3),
        temporaryName("a.txt", {fs::currentProcessId(), here}, 4),
        temporaryName("a.txt", {ended.processId, static_cast<std::uint16_t>(here ^ 1)}, 5)};
    for (const std::string& name : inUse) writeFile(sub / name, "");
    writeFile(sub / ".eigene.vxtmp", "bleibt");

    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(namesIn(destination), std::vector<std::string>{"Daten"});
    std::vector<std::string> kept = inUse;
    kept.insert(kept.end(), {".eigene.vxtmp", "a.txt"});
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(sub), kept);
}

// Looks into the destination at the first progress report of a copy.
class PeekingObserver final : public CopyObserver {
public:
    explicit PeekingObserver(stdfs::path folder) : folder_(std::move(folder)) {}
    void onProgress(const CopyProgress&) override {
        if (seen.empty()) seen = namesIn(folder_);
    }
    bool cancelRequested() override { return false; }
    std::vector<std::string> seen;

private:
    stdfs::path folder_;
};

TEST_P(CopyToFolderTest, NewCopyGetsItsNameOnlyWhenWholeAndOneCutShortLeavesNothing) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.bin", std::string(3 << 20, 'a'));
    writeFile(source / "Sub" / "b.bin", std::string(3 << 20, 'b'));
    ASSERT_TRUE(backUp(source, destination, kCopyFlagsNewCopy));

    TestObserver observer;
    FullDiskAfter full(4 << 20);
    const Result<> cut = copy(source, destination, kCopyFlagsNewCopy, observer, full);
    ASSERT_FALSE(cut);
    EXPECT_EQ(observer.failures.size(), 1u);
    EXPECT_EQ(namesIn(destination), std::vector<std::string>{"Daten"});

    PeekingObserver peeking(destination);
    ASSERT_TRUE(copy(source, destination, kCopyFlagsNewCopy, peeking));
    ASSERT_EQ(peeking.seen.size(), 2u);
    EXPECT_EQ(peeking.seen[0].rfind(".Daten.vx", 0), 0u) << "hidden while it is made";
    EXPECT_EQ(namesIn(destination), (std::vector<std::string>{"Daten", "Daten - Kopie"}));
    EXPECT_EQ(readBytes(destination / "Daten - Kopie" / "Sub" / "b.bin"),
              std::string(3 << 20, 'b'));
}

TEST_P(CopyToFolderTest, DestinationInsideTheSourceIsNotCopiedIntoItself) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "a");
    writeFile(source / "Sub" / "b.txt", "b");
    const stdfs::path inside = source / "Backup";
    for (int run = 0; run < 2; ++run) ASSERT_TRUE(backUp(source, inside));
    EXPECT_EQ(namesIn(inside / "Daten"), (std::vector<std::string>{"Sub", "a.txt"}));
}

TEST_P(CopyToFolderTest, ASourceThatIsTheDestinationItselfIsRefusedByAnyPath) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "a");
    expectRefusedAsItsOwnDestination({source, source / "Sub" / ".."});
}

TEST_P(CopyToFolderTest, ASourceThatIsTheDestinationItselfIsRefusedThroughALink) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "a.txt", "a");
    if (const std::string why = makeLink(source, dir / "verweis", true); !why.empty())
        GTEST_SKIP() << why;
    expectRefusedAsItsOwnDestination({dir / "verweis"});
}

TEST_P(CopyToFolderTest, SourcesAreResolvedByTheirTextAndNothingLandsBesideTheDestination) {
    stdfs::create_directories(source / "Dokumente");
    writeFile(source / "wichtig.txt", "aus der Quelle");
    writeFile(dir / "wichtig.txt", "neben dem Ziel");
    ASSERT_TRUE(backUp((source / "Dokumente" / "..").string(), destination));
    ASSERT_TRUE(backUp(source.string() + "//./Dokumente/", destination));
    EXPECT_EQ(namesIn(destination), (std::vector<std::string>{"Daten", "Dokumente"}));
    EXPECT_EQ(readBytes(destination / "Daten" / "wichtig.txt"), "aus der Quelle");
    EXPECT_EQ(readBytes(dir / "wichtig.txt"), "neben dem Ziel");

    for (const std::string root : {"/", "/..", "/tmp/../."}) {
        const Result<> refused = backUp(root, destination);
        ASSERT_FALSE(refused) << root;
        EXPECT_EQ(refused.error().message,
                  "'" + root +
                      "' konnte nicht kopiert werden: Ein Laufwerk oder Wurzelordner kann nicht "
                      "als Ganzes gesichert werden");
    }
    for (const std::string nothing : {"", ".", "Daten/..", "../.."}) {
        const Result<> refused = backUp(nothing, destination);
        ASSERT_FALSE(refused) << nothing;
        EXPECT_NE(refused.error().message.find("Der Pfad nennt keinen Datei- oder Ordnernamen"),
                  std::string::npos);
    }
    EXPECT_EQ(namesIn(destination), (std::vector<std::string>{"Daten", "Dokumente"}));
}

// Plays a mount point that /etc/fstab lists but that is not mounted now.
class UnpluggedDrive final : public CopyFaults {
public:
    explicit UnpluggedDrive(std::string mountPoint) : mountPoint_(std::move(mountPoint)) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
    fs::MountTable mountTable() override { return {{"/", mountPoint_}, {"/"}}; }

private:
    std::string mountPoint_;
};

TEST_P(CopyToFolderTest, AnAbsentDriveNeverReceivesTheBackupOnTheSystemDisk) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no table of mount points: its drives and shares are asked "
                    "directly (WindowsDrives tests)";
#endif
    stdfs::create_directories(source);
    writeFile(source / "a.txt", "a");
    const stdfs::path mount = dir / "mnt" / "usb";
    stdfs::create_directories(mount);
    UnpluggedDrive unplugged(mount.string() + "/");
    for (const stdfs::path& target : {mount / "Sicherung", mount, mount / "Sicherung"}) {
        TestObserver observer;
        const Result<> result = copy(source, target, kCopyFlagsOverwrite, observer, unplugged);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().message, "Der Zielordner '" + target.string() +
                                              "' ist nicht verfügbar: Das Laufwerk oder der "
                                              "Netzwerkordner '" +
                                              mount.string() + "' ist nicht verbunden");
        stdfs::create_directories(mount / "Sicherung");  // a stray copy of an earlier version
    }
    EXPECT_TRUE(stdfs::is_empty(mount / "Sicherung"));
}

// A mount point /etc/fstab lists, mounted or not.
class MountTableOf final : public CopyFaults {
public:
    MountTableOf(std::string mountPoint, bool mounted)
        : mountPoint_(std::move(mountPoint)), mounted_(mounted) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
    fs::MountTable mountTable() override {
        if (mounted_) return {{"/", mountPoint_}, {"/", mountPoint_}};
        return {{"/", mountPoint_}, {"/"}};
    }

private:
    std::string mountPoint_;
    bool mounted_;
};

TEST_P(CopyToFolderTest, ADestinationReachedThroughALinkIsCheckedWhereTheLinkLeads) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no table of mount points";
#endif
    stdfs::create_directories(source);
    writeFile(source / "a.txt", "a");
    const stdfs::path mount = dir / "mnt" / "usb";
    stdfs::create_directories(mount);
    stdfs::create_directory_symlink(mount, dir / "stick");
    stdfs::create_directory_symlink(mount / "Sicherung", dir / "sicherung");
    MountTableOf unplugged(mount.string(), false);
    for (const stdfs::path& target :
         {dir / "stick", dir / "stick" / "Sicherung", dir / "sicherung"}) {
        TestObserver observer;
        const Result<> result = copy(source, target, kCopyFlagsOverwrite, observer, unplugged);
        ASSERT_FALSE(result) << target;
        EXPECT_NE(result.error().message.find("Netzwerkordner '" + mount.string() +
                                              "' ist nicht verbunden"),
                  std::string::npos)
            << result.error().message;
    }
    EXPECT_TRUE(stdfs::is_empty(mount));
    // The drive is there: through either link the copy lands on it.
    MountTableOf plugged(mount.string(), true);
    stdfs::create_directories(mount / "Sicherung");
    for (const stdfs::path& target : {dir / "stick", dir / "sicherung"}) {
        TestObserver observer;
        ASSERT_TRUE(copy(source, target, kCopyFlagsOverwrite, observer, plugged)) << target;
    }
    EXPECT_EQ(readBytes(mount / "Daten" / "a.txt"), "a");
    EXPECT_EQ(readBytes(mount / "Sicherung" / "Daten" / "a.txt"), "a");
}

TEST_P(CopyToFolderTest, AnEmptyFolderThatLooksLikeAnAbsentDrivesMountPointGetsNoDestination) {
    stdfs::create_directories(source);
    writeFile(source / "a.txt", "a");
    // A mount point the table does not know: its empty folder gets no destination made.
    stdfs::create_directories(dir / "leer");
    const Result<> unknown = backUp(source, dir / "leer" / "Sicherung");
    ASSERT_FALSE(unknown);
    // What is the case, and what to do.
    EXPECT_EQ(unknown.error().message.substr(0, unknown.error().message.find(';')),
              "Der Zielordner '" + (dir / "leer" / "Sicherung").string() +
                  "' fehlt, und der Ordner '" + (dir / "leer").string() +
                  "' darüber ist leer. So sieht ein Laufwerk aus, das nicht verbunden ist");
    EXPECT_NE(unknown.error().message.find("verbinden Sie das Laufwerk"), std::string::npos);
    EXPECT_NE(unknown.error().message.find("„Ordner erstellen“"), std::string::npos);
    EXPECT_TRUE(stdfs::is_empty(dir / "leer"));
    // A destination someone deleted on a drive that is there is made again.
    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(readBytes(destination / "Daten" / "a.txt"), "a");
}

// Takes a folder away at once, as an unplugged drive goes, once the first file has arrived;
// the workers may be writing into it at that moment.
class RemovesAFolder final : public CopyObserver {
public:
    RemovesAFolder(stdfs::path folder, stdfs::path away)
        : folder_(std::move(folder)), away_(std::move(away)) {}
    void onProgress(const CopyProgress& progress) override {
        if (progress.filesDone != 1) return;
        stdfs::rename(folder_, away_);
        // Windows keeps a file a worker still writes until it is closed: that one may stay.
        std::error_code ignored;
        stdfs::remove_all(away_, ignored);
    }
    bool cancelRequested() override { return false; }
    void onFailure(const Error& error) override { failures.push_back(error); }
    std::vector<Error> failures;

private:
    stdfs::path folder_;
    stdfs::path away_;
};

TEST_P(CopyToFolderTest, ADestinationGoneDuringTheCopyIsSaidOnceAndEndsIt) {
    stdfs::create_directories(source / "b");
    for (const char* name : {"a.txt", "b/x.txt", "b/y.txt", "c.txt", "d.txt"})
        writeFile(source / name, name);
    const std::string gone = "Der Zielordner '" + destination.string() +
                             "' ist nicht verfügbar: Er wurde während der Sicherung entfernt";
    for (const unsigned flags : {kCopyFlagsOverwrite, kCopyFlagsNewCopy}) {
        stdfs::create_directories(destination);
        RemovesAFolder observer(destination, dir / ("weg" + std::to_string(flags)));
        const Result<> result = copy(source, destination, flags, observer);
        ASSERT_FALSE(result);
        ASSERT_EQ(observer.failures.size(), 1u) << observer.failures.back().message;
        EXPECT_EQ(result.error().message.substr(0, gone.size()), gone);
        EXPECT_EQ(result.error().path, destination.string());
        EXPECT_FALSE(stdfs::exists(destination));
    }
    // Only the source's folder inside it gone: the destination is there, and is not blamed.
    stdfs::create_directories(destination);
    RemovesAFolder observer(destination / "Daten", dir / "weg");
    ASSERT_FALSE(copy(source, destination, kCopyFlagsOverwrite, observer));
    ASSERT_FALSE(observer.failures.empty());
    for (const Error& failure : observer.failures)
        EXPECT_EQ(failure.message.find("Der Zielordner"), std::string::npos) << failure.message;
}

TEST_P(CopyToFolderTest, ADestinationThatIsALinkToNothingIsNamedAsSuch) {
    stdfs::create_directories(source);
    writeFile(source / "a.txt", "a");
    const stdfs::path link = dir / "Verknuepfung";
    if (const std::string why = makeLink(dir / "nirgendwo", link, true); !why.empty())
        GTEST_SKIP() << why;
    const Result<> result = backUp(source, link);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message.substr(0, result.error().message.find('(')),
              "Der Zielordner '" + link.string() +
                  "' ist nicht verfügbar: Er ist eine Verknüpfung auf einen Ordner, den es nicht "
                  "gibt ");
    EXPECT_FALSE(stdfs::exists(dir / "nirgendwo"));
}

// Fails the write of one file with an I/O error.
class BadSpotIn final : public CopyFaults {
public:
    explicit BadSpotIn(const stdfs::path& file) : file_(file.string()) {}
    fs::OsCode afterChunk(const std::string& source, std::uint64_t) override {
        return source == file_ ? kIoError : fs::kOsOk;
    }

private:
    std::string file_;
};

TEST_P(CopyToFolderTest, ABadEntryIsReportedAndEverythingAfterItIsStillCopied) {
    stdfs::create_directories(source / "b");
    writeFile(source / "a.txt", "a");
    writeFile(source / "b" / "kaputt.txt", "b");
    writeFile(source / "c.txt", "c");
    TestObserver observer;
    for (const unsigned flags : {kCopyFlagsOverwrite, kCopyFlagsNewCopy}) {
        BadSpotIn badSpot(source / "b" / "kaputt.txt");
        const Result<> result = copy(source, destination, flags, observer, badSpot);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().message,
                  notCopied(source / "b" / "kaputt.txt",
                            "Ein-/Ausgabefehler beim Zugriff auf den Datenträger"));
    }
    EXPECT_EQ(observer.failures.size(), 2u);
    for (const char* copy : {"Daten", "Daten - Kopie"}) {
        EXPECT_EQ(readBytes(destination / copy / "a.txt"), "a");
        EXPECT_EQ(readBytes(destination / copy / "c.txt"), "c");
        EXPECT_TRUE(stdfs::is_empty(destination / copy / "b"));
    }
}

TEST_P(CopyToFolderTest, AnEntryWhoseKindChangedIsReplacedOnlyOnceTheNewOneIsWhole) {
    stdfs::create_directories(source / "war-datei");
    writeFile(source / "war-datei" / "gross.bin", std::string(2 << 20, 'g'));
    writeFile(source / "war-ordner", "jetzt eine Datei");
    const stdfs::path copied = destination / "Daten";
    stdfs::create_directories(copied / "war-ordner" / "alt");
    writeFile(copied / "war-ordner" / "alt" / "x.txt", "alte Sicherung");
    writeFile(copied / "war-datei", "alte Datei");

    TestObserver observer;
    FullDiskAfter full(1 << 20);
    ASSERT_FALSE(copy(source, destination, kCopyFlagsOverwrite, observer, full));
    EXPECT_EQ(readBytes(copied / "war-datei"), "alte Datei");
    EXPECT_EQ(readBytes(copied / "war-ordner" / "alt" / "x.txt"), "alte Sicherung");
    EXPECT_EQ(namesIn(copied), (std::vector<std::string>{"war-datei", "war-ordner"}));

    ASSERT_TRUE(backUp(source, destination));
    EXPECT_EQ(readBytes(copied / "war-datei" / "gross.bin"), std::string(2 << 20, 'g'));
    EXPECT_EQ(readBytes(copied / "war-ordner"), "jetzt eine Datei");
    EXPECT_EQ(namesIn(copied), (std::vector<std::string>{"war-datei", "war-ordner"}));
}

TEST_P(CopyToFolderTest, FailuresNameThePathAndTheReasonAndLeaveNothingHalfWritten) {
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

TEST_P(CopyToFolderTest, FullDiskKeepsTheOlderBackupAndLeavesNoPartialFile) {
    stdfs::create_directories(source);
    const std::string older(9 << 20, 'o');
    writeFile(source / "gross.bin", older);
    ASSERT_TRUE(backUp(source / "gross.bin", destination));
    writeFile(source / "gross.bin", std::string(10 << 20, 'n'), kOldTime + 3600 * kSecondNs);
    writeFile(source / "neu.bin", std::string(10 << 20, 'n'));

    TestObserver observer;
    FullDiskAfter full(1 << 20);
    const Result<> replaced =
        copy(source / "gross.bin", destination, kCopyFlagsOverwrite, observer, full);
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().message,
              notCopied(source / "gross.bin", "Nicht genügend Speicherplatz auf dem Datenträger"));
    EXPECT_EQ(readBytes(destination / "gross.bin"), older);

    const Result<> fresh =
        copy(source / "neu.bin", destination, kCopyFlagsOverwrite, observer, full);
    ASSERT_FALSE(fresh);
    EXPECT_EQ(namesIn(destination), std::vector<std::string>{"gross.bin"});
}

TEST_P(CopyToFolderTest, CancelInTheMiddleOfALargeFileKeepsTheOlderBackup) {
    stdfs::create_directories(source);
    writeFile(source / "film.mkv", "alte Fassung");
    ASSERT_TRUE(backUp(source, destination));
    writeFile(source / "film.mkv", std::string(24 << 20, 'f'), kOldTime + 3600 * kSecondNs);

    TestObserver cancelling(1);
    const Result<> result = copy(source, destination, kCopyFlagsOverwrite, cancelling);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message,
              notCopied(source / "film.mkv", "Der Vorgang wurde abgebrochen."));
    EXPECT_EQ(readBytes(destination / "Daten" / "film.mkv"), "alte Fassung");
    EXPECT_EQ(namesIn(destination / "Daten"), std::vector<std::string>{"film.mkv"});
}

// Fails every file whose name holds "kaputt" with an I/O error. With several workers the
// file "a-kaputt.bin" is held back until the others have failed (with a bound), so its failure
// is the last to happen while it is the first in the tree.
class BadFiles final : public CopyFaults {
public:
    BadFiles(bool holdFirst, int others) : holdFirst_(holdFirst), others_(others) {}
    fs::OsCode afterChunk(const std::string& source, std::uint64_t) override {
        const std::string name = stdfs::path(source).filename().string();
        if (name.find("kaputt") == std::string::npos) return fs::kOsOk;
        std::unique_lock lock(mutex_);
        if (name != "a-kaputt.bin") {
            ++failed_;
            othersFailed_.notify_all();
        } else if (holdFirst_) {
            othersFailed_.wait_for(lock, std::chrono::seconds(10),
                                   [this] { return failed_ == others_; });
        }
        return kIoError;
    }

private:
    bool holdFirst_;
    int others_;
    std::mutex mutex_;
    std::condition_variable othersFailed_;
    int failed_ = 0;
};

TEST_P(CopyToFolderTest, FailuresComeInTheOrderOfTheTreeHoweverManyWriteAtOnce) {
    stdfs::create_directories(source / "b" / "tief");
    writeFile(source / "a-kaputt.bin", "a");
    std::vector<stdfs::path> expected = {source / "a-kaputt.bin"};
    for (const char* name : {"b/kaputt1", "b/tief/kaputt2", "b/tief/kaputt3", "b/z-kaputt4",
                             "c-kaputt5", "d-kaputt6"}) {
        writeFile(source / name, name);
        expected.push_back(source / name);
    }
    writeFile(source / "b" / "gut.txt", "gut");

    TestObserver observer;
    BadFiles bad(GetParam() > 1, static_cast<int>(expected.size()) - 1);
    const Result<> result = copy(source, destination, kCopyFlagsOverwrite, observer, bad);
    ASSERT_FALSE(result);
    std::vector<std::string> paths;
    for (const Error& failure : observer.failures) paths.push_back(failure.path);
    std::vector<std::string> expectedPaths;
    for (stdfs::path path : expected) expectedPaths.push_back(path.make_preferred().string());
    EXPECT_EQ(paths, expectedPaths);
    EXPECT_EQ(result.error().path, expectedPaths.front());
    EXPECT_EQ(readBytes(destination / "Daten" / "b" / "gut.txt"), "gut");
    EXPECT_EQ(namesIn(destination / "Daten" / "b"), (std::vector<std::string>{"gut.txt", "tief"}));
}

// Plays the flush of the destination's volume: notes what the destination holds at each one,
// and fails them all with an I/O error when asked to.
class WatchedFlush final : public CopyFaults {
public:
    WatchedFlush(stdfs::path copied, bool fails) : copied_(std::move(copied)), fails_(fails) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return fs::kOsOk; }
    fs::OsCode flushVolume(const std::string&) override {
        std::vector<std::string> seen;
        for (const auto& entry : stdfs::recursive_directory_iterator(copied_)) {
            if (!entry.is_regular_file()) continue;
            const std::string name = entry.path().filename().string();
            seen.push_back((temporaryOwner(name) ? std::string("~") : name) + "=" +
                           readBytes(entry.path()));
        }
        std::sort(seen.begin(), seen.end());
        flushes.push_back(seen);
        return fails_ ? kIoError : fs::kOsOk;
    }
    std::vector<std::vector<std::string>> flushes;

private:
    stdfs::path copied_;
    bool fails_;
};

TEST_P(CopyToFolderTest, WhatTheCopyWroteIsFlushedBeforeItEndsAndReplacementsBeforeTheirRename) {
    stdfs::create_directories(source / "Sub");
    writeFile(source / "alt.txt", "alt");
    writeFile(source / "Sub" / "neu.txt", "neu");
    stdfs::create_directories(destination);
    TestObserver observer;
    WatchedFlush first(destination, false);
    ASSERT_TRUE(copy(source, destination, kCopyFlagsOverwrite, observer, first));
    ASSERT_FALSE(first.flushes.empty());
    EXPECT_EQ(first.flushes.back(), (std::vector<std::string>{"alt.txt=alt", "neu.txt=neu"}));

    // Unchanged: nothing written, nothing to flush.
    WatchedFlush unchanged(destination, false);
    ASSERT_TRUE(copy(source, destination, kCopyFlagsOverwrite, observer, unchanged));
    EXPECT_TRUE(unchanged.flushes.empty());

    writeFile(source / "alt.txt", "ALT", kOldTime + kSecondNs);
    WatchedFlush replaced(destination, false);
    ASSERT_TRUE(copy(source, destination, kCopyFlagsOverwrite, observer, replaced));
    ASSERT_FALSE(replaced.flushes.empty());
    // The new data are flushed while the older copy still has its name.
    EXPECT_EQ(replaced.flushes.front(),
              (std::vector<std::string>{"alt.txt=alt", "neu.txt=neu", "~=ALT"}));
    EXPECT_EQ(replaced.flushes.back(), (std::vector<std::string>{"alt.txt=ALT", "neu.txt=neu"}));

    // A flush that fails: the older copy stays and the copy fails.
    writeFile(source / "alt.txt", "NEU", kOldTime + 2 * kSecondNs);
    WatchedFlush failing(destination, true);
    const Result<> result = copy(source, destination, kCopyFlagsOverwrite, observer, failing);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message,
              notCopied(source / "alt.txt", "Ein-/Ausgabefehler beim Zugriff auf den Datenträger"));
    EXPECT_EQ(readBytes(destination / "Daten" / "alt.txt"), "ALT");
    EXPECT_EQ(namesIn(destination / "Daten"), (std::vector<std::string>{"Sub", "alt.txt"}));

    // Only new files, and the flush before the end fails: no success.
    stdfs::remove_all(destination / "Daten");
    WatchedFlush failingAtTheEnd(destination, true);
    const Result<> notFlushed =
        copy(source, destination, kCopyFlagsOverwrite, observer, failingAtTheEnd);
    ASSERT_FALSE(notFlushed);
    EXPECT_EQ(notFlushed.error().message,
              "Was die Sicherung in den Zielordner '" + destination.string() +
                  "' geschrieben hat, konnte nicht dauerhaft auf den Datenträger geschrieben "
                  "werden: Ein-/Ausgabefehler beim Zugriff auf den Datenträger");
    EXPECT_EQ(failingAtTheEnd.flushes.size(), 1u);
}

}  // namespace
}  // namespace vaultrix
