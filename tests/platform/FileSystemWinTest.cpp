// Windows error codes, paths, drives and the file copy; POSIX has its own codes and calls.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/WindowsNames.h"
#include "engine/CopyToFolder.h"
#include "platform/AtomicFile.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/PathExists.h"
#include "platform/Volumes.h"
#include "support/RecordingHook.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

namespace stdfs = std::filesystem;
using test::readBytes;
using test::RecordingHook;
using test::TempDir;
using test::writeBytes;

constexpr const char* kDiskFullText = "Nicht genügend Speicherplatz auf dem Datenträger";

class Quiet final : public CopyObserver {
public:
    void onProgress(const CopyProgress&) override {}
    bool cancelRequested() override { return false; }
    void onFailure(const Error& error) override { failures.push_back(error); }
    std::vector<Error> failures;
};

Result<> backUp(const std::string& source, const std::string& destination) {
    Quiet observer;
    return CopyToFolder(source, destination, kCopyFlagsOverwrite, observer);
}

TEST(WindowsErrors, CommonCodesReadAsGermanReasonsAndAFullDiskStopsTheCopy) {
    EXPECT_EQ(fs::osErrorReason(ERROR_FILE_NOT_FOUND), "Datei oder Ordner nicht gefunden");
    EXPECT_EQ(fs::osErrorReason(ERROR_PATH_NOT_FOUND), "Datei oder Ordner nicht gefunden");
    EXPECT_EQ(fs::osErrorReason(ERROR_ACCESS_DENIED), "Zugriff verweigert");
    EXPECT_EQ(fs::osErrorReason(ERROR_DIRECTORY), "Ein Teil des Pfades ist kein Ordner");
    EXPECT_EQ(fs::osErrorReason(ERROR_FILENAME_EXCED_RANGE), "Der Dateiname oder Pfad ist zu lang");
    EXPECT_EQ(fs::osErrorReason(ERROR_SHARING_VIOLATION),
              "Die Datei wird von einem anderen Programm verwendet, zum Beispiel von einem "
              "Virenscanner");
    EXPECT_EQ(fs::osErrorReason(ERROR_BAD_NETPATH), "Das Netzlaufwerk ist nicht erreichbar");
    EXPECT_EQ(fs::osErrorReason(fs::kOsCancelled), "Der Vorgang wurde abgebrochen.");
    EXPECT_EQ(fs::osErrorReason(123456), "Unbekannter Fehler (Fehlernummer 123456)");
    EXPECT_EQ(fs::osErrorReason(ERROR_NOT_SUPPORTED),
              "Der Vorgang wird vom Datenträger oder seinem Dateisystem nicht unterstützt");
    // Every code a file system, a USB drive or a share commonly gives has a German reason.
    const DWORD codes[] = {ERROR_INVALID_FUNCTION,
                           ERROR_WRITE_PROTECT,
                           ERROR_NOT_READY,
                           ERROR_CRC,
                           ERROR_SHARING_VIOLATION,
                           ERROR_LOCK_VIOLATION,
                           ERROR_HANDLE_DISK_FULL,
                           ERROR_DISK_FULL,
                           ERROR_NOT_SUPPORTED,
                           ERROR_REM_NOT_LIST,
                           ERROR_BAD_NETPATH,
                           ERROR_DEV_NOT_EXIST,
                           ERROR_UNEXP_NET_ERR,
                           ERROR_NETNAME_DELETED,
                           ERROR_NETWORK_ACCESS_DENIED,
                           ERROR_BAD_NET_NAME,
                           ERROR_SEM_TIMEOUT,
                           ERROR_INVALID_NAME,
                           ERROR_FILENAME_EXCED_RANGE,
                           ERROR_FILE_TOO_LARGE,
                           ERROR_IO_DEVICE,
                           ERROR_NO_NETWORK,
                           ERROR_NETWORK_UNREACHABLE,
                           ERROR_LOGON_FAILURE,
                           ERROR_FILE_CORRUPT,
                           ERROR_CANT_RESOLVE_FILENAME,
                           ERROR_NOT_CONNECTED,
                           ERROR_NOT_A_REPARSE_POINT,
                           ERROR_NOT_SAME_DEVICE,
                           ERROR_TOO_MANY_LINKS,
                           ERROR_CANT_ACCESS_FILE,
                           ERROR_DELETE_PENDING,
                           ERROR_NO_MEDIA_IN_DRIVE};
    for (const DWORD code : codes) {
        const std::string reason = fs::osErrorReason(static_cast<fs::OsCode>(code));
        EXPECT_FALSE(reason.empty()) << code;
        EXPECT_EQ(reason.find("Unbekannter Fehler"), std::string::npos) << code;
    }
    for (const DWORD full : {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}) {
        EXPECT_EQ(fs::osErrorReason(static_cast<fs::OsCode>(full)), kDiskFullText) << full;
        EXPECT_TRUE(fs::destinationExhausted(static_cast<fs::OsCode>(full))) << full;
    }
    EXPECT_TRUE(fs::destinationExhausted(ERROR_WRITE_PROTECT));
    EXPECT_FALSE(fs::destinationExhausted(ERROR_ACCESS_DENIED));
}

// Fails every write with the code from the first chunk on.
class FullDisk final : public CopyFaults {
public:
    explicit FullDisk(fs::OsCode code) : code_(code) {}
    fs::OsCode afterChunk(const std::string&, std::uint64_t) override { return code_; }

private:
    fs::OsCode code_;
};

TEST(WindowsErrors, BothFullDiskCodesStopTheCopyAndKeepTheOlderBackup) {
    TempDir dir;
    stdfs::create_directories(dir / "Daten");
    writeBytes(dir / "Daten" / "a.txt", "alt");
    ASSERT_TRUE(backUp((dir / "Daten").string(), (dir / "Ziel").string()));
    writeBytes(dir / "Daten" / "a.txt", "neu und länger");
    writeBytes(dir / "Daten" / "b.txt", "b");
    for (const DWORD code : {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}) {
        Quiet observer;
        FullDisk full(static_cast<fs::OsCode>(code));
        const Result<> result = CopyToFolderWithFaults(
            (dir / "Daten").string(), (dir / "Ziel").string(), kCopyFlagsOverwrite, observer, full);
        ASSERT_FALSE(result) << code;
        EXPECT_EQ(result.error().message, "'" + (dir / "Daten" / "a.txt").string() +
                                              "' konnte nicht kopiert werden: " + kDiskFullText);
        EXPECT_EQ(observer.failures.size(), 1u) << "stopped before b.txt";
        EXPECT_EQ(readBytes(dir / "Ziel" / "Daten" / "a.txt"), "alt");
        EXPECT_FALSE(stdfs::exists(dir / "Ziel" / "Daten" / "b.txt"));
    }
}

// Opens the file as a virus scanner might: others may read it, but not delete or rename it.
HANDLE holdOpen(const stdfs::path& file) {
    return CreateFileW(file.wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Lets go of the file a moment later, from another thread, while the rename waits.
std::thread releaseSoon(HANDLE held) {
    return std::thread([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(held);
    });
}

constexpr const char* kHeldText =
    "Die Datei wird von einem anderen Programm verwendet, zum Beispiel von einem Virenscanner";

TEST(WindowsHeldFiles, ReplacingACopyWaitsForAProgramThatLetsGoAndNamesOneThatDoesNot) {
    TempDir dir;
    writeBytes(dir / "kopie", "alt");
    writeBytes(dir / "neu", "neu");
    const HANDLE held = holdOpen(dir / "kopie");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release = releaseSoon(held);
    EXPECT_EQ(fs::replaceEntry((dir / "neu").string(), (dir / "kopie").string()), fs::kOsOk);
    release.join();
    EXPECT_EQ(readBytes(dir / "kopie"), "neu");

    writeBytes(dir / "neuer", "neuer");
    const HANDLE kept = holdOpen(dir / "kopie");
    ASSERT_NE(kept, INVALID_HANDLE_VALUE);
    const fs::OsCode code = fs::replaceEntry((dir / "neuer").string(), (dir / "kopie").string());
    CloseHandle(kept);
    EXPECT_EQ(fs::osErrorReason(code), kHeldText);
    EXPECT_EQ(readBytes(dir / "kopie"), "neu");
    EXPECT_EQ(readBytes(dir / "neuer"), "neuer");

    // The swap of a folder's copy moves the held entry aside first.
    const HANDLE swapped = holdOpen(dir / "kopie");
    ASSERT_NE(swapped, INVALID_HANDLE_VALUE);
    release = releaseSoon(swapped);
    EXPECT_EQ(fs::exchangeEntries((dir / "neuer").string(), (dir / "kopie").string(),
                                  (dir / "frei").string()),
              fs::kOsOk);
    release.join();
    EXPECT_EQ(readBytes(dir / "kopie"), "neuer");
    EXPECT_EQ(readBytes(dir / "neuer"), "neu");
}

TEST(WindowsHeldFiles, ADataFileHeldForAMomentIsWrittenOneHeldLongerKeepsItsText) {
    TempDir dir;
    writeBytes(dir / "save.log", "alt");
    const HANDLE held = holdOpen(dir / "save.log");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release = releaseSoon(held);
    EXPECT_TRUE(replaceFileAtomically(dir / "save.log", "neu"));
    release.join();
    EXPECT_EQ(readBytes(dir / "save.log"), "neu");

    const HANDLE kept = holdOpen(dir / "save.log");
    ASSERT_NE(kept, INVALID_HANDLE_VALUE);
    const Result<> written = replaceFileAtomically(dir / "save.log", "neuer");
    CloseHandle(kept);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message, "Die Datei '" + (dir / "save.log").string() +
                                           "' kann nicht geschrieben werden (" + kHeldText + ").");
    EXPECT_EQ(readBytes(dir / "save.log"), "neu");
    std::vector<std::string> names;
    ASSERT_EQ(fs::listFolder(dir.path().string(), names), fs::kOsOk);
    EXPECT_EQ(names, std::vector<std::string>{"save.log"});
}

// Every absolute path is passed with the "\\?\" prefix, which would make these names literally.
TEST(WindowsNames, NoDestinationOrDataFileIsMadeUnderANameWindowsCannotHold) {
    TempDir dir;
    stdfs::create_directories(dir / "Daten");
    writeBytes(dir / "Daten" / "a.txt", "a");
    for (const std::string name : {"Ziel.", "Ziel ", "CON", "nul.txt"}) {
        const std::string destination = (dir / name).string();
        const Result<> refused = backUp((dir / "Daten").string(), destination);
        ASSERT_FALSE(refused) << name;
        EXPECT_EQ(refused.error().message,
                  "Der Zielordner '" + destination +
                      "' kann so nicht angelegt werden: " + windowsNameProblem(name))
            << name;
        fs::EntryInfo info;
        EXPECT_EQ(fs::statEntry(destination, info), fs::kOsOk);
        EXPECT_EQ(info.kind, fs::EntryKind::Missing) << name;
    }
    ASSERT_TRUE(backUp((dir / "Daten").string(), (dir / "Ziel").string()));
    EXPECT_EQ(readBytes(dir / "Ziel" / "Daten" / "a.txt"), "a");

    // Windows would clean the name up and write over "save.ini".
    writeBytes(dir / "save.ini", "alt");
    const Result<> written = replaceFileAtomically(dir / "save.ini.", "neu");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().message.find("„save.ini.“ endet mit einem Punkt"), std::string::npos);
    EXPECT_EQ(readBytes(dir / "save.ini"), "alt");
}

TEST(WindowsPaths, JoiningNamingAndNormalisingKeepDriveAndShareRoots) {
    EXPECT_EQ(fs::joinPath("C:\\", "Daten"), "C:\\Daten");
    EXPECT_EQ(fs::joinPath("D:\\Sicherung\\\\", "Daten"), "D:\\Sicherung\\Daten");
    // A new folder below a drive named without its separator is not drive-relative.
    EXPECT_EQ(fs::joinPath("E:", "Neu"), "E:\\Neu");
    EXPECT_EQ(fs::lastName("C:\\Users\\jörg\\Daten\\"), "Daten");
    EXPECT_EQ(fs::lastName("C:\\"), "");
    EXPECT_EQ(fs::lastName("\\\\server\\freigabe\\"), "");
    EXPECT_EQ(fs::normalisePath("c:/Users/./jörg//Daten/"), "c:\\Users\\jörg\\Daten");
    EXPECT_EQ(fs::normalisePath("C:\\Users\\..\\..\\Windows"), "C:\\Windows");
    EXPECT_EQ(fs::normalisePath("\\\\server\\freigabe\\a\\.."), "\\\\server\\freigabe\\");
}

TEST(WindowsPaths, PathsAreTheSameWithOnlyAToZFolded) {
    EXPECT_TRUE(fs::samePathText("E:\\Daten\\a.txt", "e:\\daten\\A.TXT"));
    EXPECT_TRUE(fs::samePathText("\\\\Server\\Freigabe", "\\\\server\\freigabe"));
    EXPECT_FALSE(fs::samePathText("E:\\Däten", "E:\\DÄTEN"));
    EXPECT_FALSE(fs::samePathText("E:\\Daten", "E:\\Daten\\x"));
    EXPECT_FALSE(fs::samePathText("E:\\Daten[", "E:\\Daten{"));
}

TEST(WindowsPaths, ATreeDeeperThanMaxPathIsCopiedWhole) {
    TempDir dir;
    stdfs::path deep = dir / "Daten";
    while (deep.wstring().size() < 2 * MAX_PATH) deep /= "Unterordner mit langem Namen";
    const std::string folder = deep.string();
    // std::filesystem has no long paths in MinGW: the program's own calls make the tree.
    std::string made = (dir / "Daten").string();
    ASSERT_EQ(fs::makeFolder(made), fs::kOsOk);
    for (std::size_t at = made.size(); at < folder.size();) {
        const std::size_t next = folder.find('\\', at + 1);
        made = folder.substr(0, next);
        ASSERT_EQ(fs::makeFolder(made), fs::kOsOk) << made.size();
        at = next == std::string::npos ? folder.size() : next;
    }
    writeBytes(dir / "klein.txt", "tief unten");
    Quiet observer;
    ASSERT_TRUE(CopyToFolder((dir / "klein.txt").string(), folder, kCopyFlagsOverwrite, observer));
    ASSERT_TRUE(backUp((dir / "Daten").string(), (dir / "Ziel").string()));

    const std::string copy =
        (dir / "Ziel").string() + folder.substr(dir.path().string().size()) + "\\klein.txt";
    fs::EntryInfo info;
    ASSERT_EQ(fs::statEntry(copy, info), fs::kOsOk);
    EXPECT_EQ(info.kind, fs::EntryKind::File);
    EXPECT_EQ(info.size, 10u);
    EXPECT_TRUE(PathExists(copy));
    EXPECT_EQ(fs::removeTree((dir / "Daten").string()), fs::kOsOk);
    EXPECT_EQ(fs::removeTree((dir / "Ziel").string()), fs::kOsOk);
}

// Wine reports a path through a file as not found; the program says what is wrong with it.
TEST(WindowsPaths, APathThroughAFileOrWithAnOverlongNameIsNamedAsSuch) {
    TempDir dir;
    writeBytes(dir / "datei", "");
    fs::EntryInfo info;
    EXPECT_EQ(fs::statEntry((dir / "datei" / "Ziel" / "tiefer").string(), info), ERROR_DIRECTORY);
    EXPECT_EQ(fs::statEntry((dir / "fehlt" / "Ziel").string(), info), fs::kOsOk);
    EXPECT_EQ(info.kind, fs::EntryKind::Missing);
    EXPECT_EQ(fs::statEntry((dir / std::string(256, 'x')).string(), info),
              ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(fs::statEntry((dir / std::string(255, 'x')).string(), info), fs::kOsOk);
    EXPECT_FALSE(PathExists((dir / "datei" / "Ziel").string()));

    stdfs::create_directories(dir / "Daten");
    const Result<> underFile = backUp((dir / "Daten").string(), (dir / "datei" / "Ziel").string());
    ASSERT_FALSE(underFile);
    EXPECT_EQ(underFile.error().message, "Der Zielordner '" + (dir / "datei" / "Ziel").string() +
                                             "' ist nicht verfügbar: Ein Teil des Pfades ist "
                                             "kein Ordner");
}

// A drive letter that names no drive, or empty when every letter is taken.
std::string absentDrive() {
    for (char letter = 'Z'; letter >= 'D'; --letter) {
        const std::string root = std::string(1, letter) + ":\\";
        const std::wstring wide(root.begin(), root.end());
        if (GetDriveTypeW(wide.c_str()) == DRIVE_NO_ROOT_DIR) return root;
    }
    return {};
}

TEST(WindowsDrives, ADriveRootIsNoSourceAndAnAbsentDriveGetsNoBackup) {
    TempDir dir;
    writeBytes(dir / "a.txt", "a");
    for (const std::string root : {"C:\\", "C:\\Windows\\..", "c:"}) {
        const Result<> refused = backUp(root, (dir / "Ziel").string());
        ASSERT_FALSE(refused) << root;
        EXPECT_EQ(refused.error().message,
                  "'" + root +
                      "' konnte nicht kopiert werden: Ein Laufwerk oder Wurzelordner kann nicht "
                      "als Ganzes gesichert werden");
    }
    EXPECT_TRUE(PathExists("C:\\"));
    EXPECT_EQ(fs::absentVolume("C:\\Sicherung", {}), "");

    const std::string drive = absentDrive();
    if (drive.empty()) GTEST_SKIP() << "every drive letter from D: to Z: is in use";
    EXPECT_FALSE(PathExists(drive));
    EXPECT_EQ(fs::absentVolume(drive + "Sicherung\\Daten", {}), drive);
    const Result<> absent = backUp((dir / "a.txt").string(), drive + "Sicherung");
    ASSERT_FALSE(absent);
    EXPECT_EQ(absent.error().message, "Der Zielordner '" + drive +
                                          "Sicherung' ist nicht verfügbar: Das Laufwerk oder der "
                                          "Netzwerkordner '" +
                                          drive + "' ist nicht verbunden");
}

TEST(WindowsFileCopy, CopiesContentsAttributesAndTimeInBoundedChunksAndRemovesWhatItStops) {
    TempDir dir;
    std::string contents(9 << 20, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7);
    const std::string from = (dir / "quelle").string();
    writeBytes(from, contents);
    test::setModified(from, 1'234'567'890'987'654'300LL);
    ASSERT_TRUE(SetFileAttributesW((dir / "quelle").wstring().c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    fs::CopyContext context;
    RecordingHook hook;
    ASSERT_EQ(fs::copyFileData(from, (dir / "ziel").string(), true, hook, context), fs::kOsOk);
    EXPECT_EQ(readBytes(dir / "ziel"), contents);
    EXPECT_EQ(test::modifiedOf(dir / "ziel"), 1'234'567'890'987'654'300LL);
    EXPECT_EQ(test::permissionsOf(dir / "ziel"), test::permissionsOf(dir / "quelle"));
    EXPECT_EQ(test::permissionsOf(dir / "ziel") & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
    std::uint64_t total = 0;
    for (const std::uint64_t chunk : hook.chunks) {
        total += chunk;
        EXPECT_LE(chunk, fs::kCopyChunkBytes);
    }
    EXPECT_EQ(total, contents.size());

    // An existing file is never written over, and a stopped copy leaves nothing behind.
    EXPECT_EQ(fs::copyFileData(from, (dir / "ziel").string(), false, hook, context),
              ERROR_FILE_EXISTS);
    EXPECT_EQ(readBytes(dir / "ziel"), contents);
    RecordingHook stopping(1, fs::kOsCancelled);
    EXPECT_EQ(fs::copyFileData(from, (dir / "halb").string(), false, stopping, context),
              fs::kOsCancelled);
    EXPECT_FALSE(stdfs::exists(dir / "halb"));
}

TEST(WindowsFileCopy, HolesOfASparseFileStayHoles) {
    constexpr LONGLONG kSize = 64 << 20;
    TempDir dir;
    const std::wstring image = (dir / "abbild").wstring();
    {
        const HANDLE file = CreateFileW(image.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD bytes = 0;
        DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr);
        LARGE_INTEGER at{};
        at.QuadPart = kSize / 2;
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        const std::string data(4096, 'd');
        WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &bytes, nullptr);
        at.QuadPart = kSize;
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    auto allocated = [](const stdfs::path& file) {
        DWORD high = 0;
        const DWORD low = GetCompressedFileSizeW(file.wstring().c_str(), &high);
        return (static_cast<LONGLONG>(high) << 32) | low;
    };
    if ((GetFileAttributesW(image.c_str()) & FILE_ATTRIBUTE_SPARSE_FILE) == 0 ||
        allocated(dir / "abbild") > kSize / 4) {
        GTEST_SKIP() << "this file system keeps no holes (Wine's does not)";
    }

    fs::CopyContext context;
    RecordingHook hook;
    ASSERT_EQ(
        fs::copyFileData((dir / "abbild").string(), (dir / "kopie").string(), false, hook, context),
        fs::kOsOk);
    EXPECT_LT(allocated(dir / "kopie"), 1 << 20);
    EXPECT_EQ(stdfs::file_size(dir / "kopie"), static_cast<std::uintmax_t>(kSize));
    EXPECT_EQ(readBytes(dir / "kopie"), readBytes(dir / "abbild"));
}

}  // namespace
}  // namespace vaultrix

#endif
