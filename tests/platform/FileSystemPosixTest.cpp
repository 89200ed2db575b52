// POSIX separators, error numbers and file copy paths; Windows has its own codes and calls.
#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "engine/CopyToFolder.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/FileSystem_posix.h"
#include "platform/PathExists.h"
#include "platform/PermissionProbe.h"
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

TEST(PathExists, TrueForWhatCanBeListedOrOpened) {
    TempDir dir;
    writeBytes(dir / "datei.txt", "x");
    stdfs::create_symlink(dir / "fehlt", dir / "ins-leere");
    EXPECT_TRUE(PathExists("/"));
    EXPECT_TRUE(PathExists(dir.path().string()));
    EXPECT_TRUE(PathExists((dir / "datei.txt").string()));
    EXPECT_FALSE(PathExists((dir / "fehlt").string()));
    EXPECT_FALSE(PathExists((dir / "datei.txt" / "unter").string()));
    EXPECT_FALSE(PathExists((dir / "ins-leere").string()));
    EXPECT_FALSE(PathExists(""));
}

TEST(OsErrorReason, CommonErrorsReadAsGermanReasons) {
    EXPECT_EQ(fs::osErrorReason(ENOENT), "Datei oder Ordner nicht gefunden");
    EXPECT_EQ(fs::osErrorReason(EACCES), "Zugriff verweigert");
    EXPECT_EQ(fs::osErrorReason(EPERM), "Zugriff verweigert");
    EXPECT_EQ(fs::osErrorReason(ENOSPC), "Nicht genügend Speicherplatz auf dem Datenträger");
    EXPECT_EQ(fs::osErrorReason(ENAMETOOLONG), "Der Dateiname oder Pfad ist zu lang");
    EXPECT_EQ(fs::osErrorReason(EROFS), "Der Datenträger ist schreibgeschützt");
    EXPECT_EQ(fs::osErrorReason(fs::kOsCancelled), "Der Vorgang wurde abgebrochen.");
    EXPECT_EQ(fs::osErrorReason(123456), "Unbekannter Fehler (Fehlernummer 123456)");
    EXPECT_EQ(fs::osErrorReason(ENOSYS),
              "Der Vorgang wird vom Datenträger oder seinem Dateisystem nicht unterstützt");
    // Every code a file system commonly gives has a German reason.
    for (const int code :
         {ENOSYS,     EOPNOTSUPP,   ENOTSUP,   ENOTTY,       EFBIG,     EOVERFLOW,   ENAMETOOLONG,
          EINVAL,     EILSEQ,       EROFS,     EIO,          EBADMSG,   ENOSPC,      EDQUOT,
          ENOTCONN,   ETIMEDOUT,    EHOSTDOWN, EHOSTUNREACH, ENETDOWN,  ENETUNREACH, ECONNREFUSED,
          ECONNRESET, ECONNABORTED, ENETRESET, ENOLINK,      EPROTO,    ESTALE,      EXDEV,
          EMLINK,     ELOOP,        ETXTBSY,   EBUSY,        EAGAIN,    ENOLCK,      EDEADLK,
          EINTR,      ECANCELED,    EMFILE,    ENFILE,       ENOMEM,    ENODEV,      ENXIO,
          EEXIST,     ENOTEMPTY,    EISDIR,    ENOTDIR,
#ifdef __linux__
          EUCLEAN,    ENOMEDIUM,    ENOKEY,    ECOMM,        EREMOTEIO,
#endif
          ENOENT,     EACCES,       EPERM}) {
        EXPECT_EQ(fs::osErrorReason(code).find("Unbekannter Fehler"), std::string::npos) << code;
    }
}

TEST(PathNames, JoiningNeverDoublesSeparatorsAndTheLastNameIgnoresTrailingOnes) {
    EXPECT_EQ(fs::joinPath("/media/usb", "Daten"), "/media/usb/Daten");
    EXPECT_EQ(fs::joinPath("/media/usb//", "Daten"), "/media/usb/Daten");
    EXPECT_EQ(fs::joinPath("/", "home"), "/home");
    EXPECT_EQ(fs::lastName("/home/jörg/Daten/"), "Daten");
    EXPECT_EQ(fs::lastName("Brief.odt"), "Brief.odt");
    EXPECT_EQ(fs::lastName("/"), "");
    // Resolved by the text alone; ".." never climbs above the root.
    EXPECT_EQ(fs::normalisePath("/home/jörg/Dokumente/.."), "/home/jörg");
    EXPECT_EQ(fs::normalisePath("//home/./jörg//Daten/"), "/home/jörg/Daten");
    EXPECT_EQ(fs::normalisePath("/../home/.."), "/");
    EXPECT_EQ(fs::normalisePath("Daten/../.."), "..");
    EXPECT_EQ(fs::normalisePath("Daten/./.."), ".");
}

TEST(PathNames, PathsAreTheSameOnlyByTheExactText) {
    EXPECT_TRUE(fs::samePathText("/home/jörg/Daten", "/home/jörg/Daten"));
    EXPECT_FALSE(fs::samePathText("/home/jörg/Daten", "/home/jörg/daten"));
    EXPECT_FALSE(fs::samePathText("/home/jörg/Daten", "/home/jörg/Daten/x"));
}

TEST(FolderListing, EntriesSortedByNameWithLinksToFoldersAsFoldersUnlessNotLookedAt) {
    TempDir dir;
    stdfs::create_directory(dir / "b-ordner");
    writeBytes(dir / "a-datei", "x");
    stdfs::create_directory_symlink(dir / "b-ordner", dir / "c-verweis");
    stdfs::create_symlink(dir / "fehlt", dir / "D-ins-leere");
    using Entries = std::vector<fs::FolderEntry>;
    Entries entries;
    ASSERT_EQ(fs::listFolderEntries(dir.path().string(), entries), fs::kOsOk);
    EXPECT_EQ(
        entries,
        (Entries{
            {"D-ins-leere", false}, {"a-datei", false}, {"b-ordner", true}, {"c-verweis", true}}));
    ASSERT_EQ(fs::listFolderEntries(dir.path().string(), entries, false), fs::kOsOk);
    EXPECT_FALSE(entries.at(3).folder);
    std::vector<std::string> names;
    ASSERT_EQ(fs::listFolder(dir.path().string(), names), fs::kOsOk);
    EXPECT_EQ(names, (std::vector<std::string>{"D-ins-leere", "a-datei", "b-ordner", "c-verweis"}));
    EXPECT_EQ(fs::listFolder((dir / "fehlt").string(), names), ENOENT);
    EXPECT_TRUE(names.empty());
}

TEST(MountTable, ConfiguredMountPointsThatAreNotMountedMarkTheirFoldersAbsent) {
    const std::string fstab =
        "# <file system> <mount point> <type> <options> <dump> <pass>\n"
        "UUID=1234 / ext4 errors=remount-ro 0 1\n"
        "\n"
        "/dev/sdb1\t/mnt/usb/\tvfat\tnoauto,user 0 0\n"
        "//nas/daten /mnt/Netz\\040Laufwerk cifs credentials=/etc/nas 0 0\n"
        "/swapfile none swap sw 0 0\n"
        "  # eingerückt\n";
    EXPECT_EQ(fs::parseMountPoints(fstab),
              (std::vector<std::string>{"/", "/mnt/usb/", "/mnt/Netz Laufwerk"}));
    const fs::MountTable table{fs::parseMountPoints(fstab), {"/", "/mnt/usb"}};
    EXPECT_EQ(fs::absentVolume("/mnt/Netz Laufwerk/Sicherung", table), "/mnt/Netz Laufwerk");
    EXPECT_EQ(fs::absentVolume("/mnt/Netz Laufwerk", table), "/mnt/Netz Laufwerk");
    EXPECT_EQ(fs::absentVolume("/mnt/Netz Laufwerk2", table), "");
    EXPECT_EQ(fs::absentVolume("/mnt/usb/Sicherung", table), "");
    EXPECT_EQ(fs::absentVolume("/home/jörg", table), "");
}

// A link in the destination, or in a configured mount point, is followed before the path is
// compared with the table.
TEST(MountTable, LinksAreFollowedToTheMountPointTheyLeadTo) {
    test::TempDir dir;
    const stdfs::path usb = dir / "mnt" / "usb";
    stdfs::create_directories(usb);
    stdfs::create_directory_symlink(usb, dir / "zum-stick");
    stdfs::create_directory_symlink("mnt/usb/Sicherung", dir / "zur-sicherung");
    stdfs::create_directory_symlink("../zum-stick/./x/..", dir / "mnt" / "umweg");
    const fs::MountTable absent{{"/", usb.string()}, {"/"}};
    for (const std::string link : {"zum-stick", "zum-stick/Sicherung", "zur-sicherung",
                                   "zur-sicherung/Daten", "mnt/umweg/Sicherung"}) {
        EXPECT_EQ(fs::absentVolume((dir / link).string(), absent), usb.string()) << link;
    }
    EXPECT_EQ(fs::absentVolume((dir / "mnt").string(), absent), "");
    const fs::MountTable present{{"/", usb.string()}, {"/", usb.string()}};
    EXPECT_EQ(fs::absentVolume((dir / "zur-sicherung").string(), present), "");
    // Configured through a link; the system lists the mounted drive by its resolved path.
    stdfs::create_directory_symlink(dir / "mnt", dir / "medien");
    const std::string configured = (dir / "medien" / "usb").string();
    EXPECT_EQ(fs::absentVolume((dir / "zum-stick").string(), {{configured}, {usb.string()}}), "");
    EXPECT_EQ(fs::absentVolume((dir / "zum-stick").string(), {{configured}, {"/"}}), configured);
    EXPECT_EQ(fs::absentVolume(configured + "/Sicherung", {{configured}, {"/"}}), configured);
}

TEST(Attributes, RefusalsOfAttributesAreToldFromFailures) {
    for (const fs::OsCode refused : {ENOSYS, EPERM, ENOTSUP, EOPNOTSUPP})
        EXPECT_TRUE(fs::attributeRefused(refused)) << refused;
    for (const fs::OsCode failed : {EIO, ENOSPC, EROFS, ENOENT, EACCES, 0})
        EXPECT_FALSE(fs::attributeRefused(failed)) << failed;
}

TEST(Attributes, TheProbeFileIsNewAndTheTestFolderKeepsPermissions) {
    test::TempDir dir;
    const std::string probe = (dir / "probe").string();
    ASSERT_EQ(fs::makeEmptyFile(probe), fs::kOsOk);
    EXPECT_EQ(fs::makeEmptyFile(probe), EEXIST);
    bool kept = false;
    ASSERT_EQ(fs::keepsPermissions(probe, kept), fs::kOsOk);
    EXPECT_TRUE(kept);
    EXPECT_EQ(fs::keepsPermissions((dir / "fehlt").string(), kept), ENOENT);
}

// Every way of copying the data, down to the plain buffer that other file systems need.
class CopyFileDataTest : public ::testing::TestWithParam<std::pair<bool, bool>> {
protected:
    fs::CopyContext context() const {
        fs::CopyContext c;
        c.tryClone = GetParam().first;
        c.tryCopyRange = GetParam().second;
        return c;
    }
    TempDir dir;
};

TEST_P(CopyFileDataTest, CopiesContentsModeAndTimeInBoundedChunksAndRemovesWhatItStops) {
    std::string contents(9 << 20, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7);
    writeBytes(dir / "quelle", contents);
    const auto time = stdfs::file_time_type(std::chrono::nanoseconds(1'234'567'890'987'654'321LL));
    stdfs::last_write_time(dir / "quelle", time);
    stdfs::permissions(dir / "quelle", stdfs::perms(0604));

    fs::CopyContext copyContext = context();
    RecordingHook hook;
    ASSERT_EQ(fs::copyFileData((dir / "quelle").string(), (dir / "ziel").string(), true, hook,
                               copyContext),
              fs::kOsOk);
    EXPECT_EQ(readBytes(dir / "ziel"), contents);
    EXPECT_EQ(stdfs::last_write_time(dir / "ziel"), time);
    EXPECT_EQ(stdfs::status(dir / "ziel").permissions(), stdfs::perms(0604));
    std::uint64_t total = 0;
    for (const std::uint64_t chunk : hook.chunks) {
        total += chunk;
        if (!copyContext.tryClone) {
            EXPECT_LE(chunk, fs::kCopyChunkBytes);
        }
    }
    EXPECT_EQ(total, contents.size());

    // An existing file is never written over, and a stopped copy leaves nothing behind.
    EXPECT_EQ(fs::copyFileData((dir / "quelle").string(), (dir / "ziel").string(), false, hook,
                               copyContext),
              EEXIST);
    EXPECT_EQ(readBytes(dir / "ziel"), contents);
    fs::CopyContext stopContext = context();
    RecordingHook stopping(1, ENOSPC);
    EXPECT_EQ(fs::copyFileData((dir / "quelle").string(), (dir / "halb").string(), false, stopping,
                               stopContext),
              ENOSPC);
    EXPECT_FALSE(stdfs::exists(dir / "halb"));
}

TEST_P(CopyFileDataTest, HolesOfASparseFileStayHoles) {
    constexpr off_t kSize = 64 << 20;
    const std::string data(4096, 'd');
    {
        const int fd = ::open((dir / "abbild").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, data.data(), data.size(), kSize / 2), 4096);
        ASSERT_EQ(::ftruncate(fd, kSize), 0);
        ::close(fd);
    }
    auto allocated = [](const stdfs::path& file) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return static_cast<off_t>(st.st_blocks) * 512;
    };
    if (allocated(dir / "abbild") > kSize / 4) GTEST_SKIP() << "this file system keeps no holes";

    fs::CopyContext copyContext = context();
    RecordingHook hook;
    ASSERT_EQ(fs::copyFileData((dir / "abbild").string(), (dir / "kopie").string(), false, hook,
                               copyContext),
              fs::kOsOk);
    EXPECT_LT(allocated(dir / "kopie"), 1 << 20);
    EXPECT_EQ(stdfs::file_size(dir / "kopie"), static_cast<std::uintmax_t>(kSize));
    EXPECT_EQ(readBytes(dir / "kopie"), readBytes(dir / "abbild"));
}

INSTANTIATE_TEST_SUITE_P(Paths, CopyFileDataTest,
                         ::testing::Values(std::pair{true, true}, std::pair{false, true},
                                           std::pair{false, false}));

TEST(CopyToFolderSpecialFiles, FifosInAFolderAreLeftOutAndAFifoGivenAsSourceFails) {
    TempDir dir;
    stdfs::create_directories(dir / "Daten");
    writeBytes(dir / "Daten" / "a.txt", "a");
    ASSERT_EQ(::mkfifo((dir / "Daten" / "rohr").c_str(), 0600), 0);
    fs::EntryInfo info;
    ASSERT_EQ(fs::statEntry((dir / "Daten" / "rohr").string(), info), fs::kOsOk);
    EXPECT_EQ(info.kind, fs::EntryKind::Special);

    class Quiet final : public CopyObserver {
        void onProgress(const CopyProgress&) override {}
        bool cancelRequested() override { return false; }
    } observer;
    ASSERT_TRUE(CopyToFolder((dir / "Daten").string(), (dir / "Ziel").string(), kCopyFlagsOverwrite,
                             observer));
    EXPECT_TRUE(stdfs::exists(dir / "Ziel" / "Daten" / "a.txt"));
    EXPECT_FALSE(stdfs::exists(dir / "Ziel" / "Daten" / "rohr"));

    for (const char* special : {"/dev/null", "rohr"}) {
        const std::string path =
            special[0] == '/' ? std::string(special) : (dir / "Daten" / special).string();
        const Result<> refused =
            CopyToFolder(path, (dir / "Ziel").string(), kCopyFlagsOverwrite, observer);
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().message, "'" + path +
                                               "' konnte nicht kopiert werden: Die Quelle ist "
                                               "keine Datei und kein Ordner, sondern ein Gerät, "
                                               "eine Pipe oder ein Socket");
    }
    EXPECT_EQ(std::distance(stdfs::directory_iterator(dir / "Ziel"), {}), 1);
}

// Unmounts when the test leaves, whichever way.
class TmpfsMount {
public:
    TmpfsMount(const stdfs::path& folder, const char* options) : folder_(folder) {
        mounted_ = ::mount("vaultrix-test", folder.c_str(), "tmpfs", 0, options) == 0;
        if (!mounted_) reason_ = std::strerror(errno);
    }
    ~TmpfsMount() { unmount(); }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }
    void unmount() {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
        mounted_ = false;
    }

private:
    stdfs::path folder_;
    bool mounted_ = false;
    std::string reason_;
};

TEST(CopyToFolderMounts, ADriveIsUsedEvenEmptyAndFullAndItsMountPointWithoutItIsNot) {
    TempDir dir;
    stdfs::create_directories(dir / "Daten");
    stdfs::create_directories(dir / "usb");
    writeBytes(dir / "Daten" / "a.txt", "a");
    TmpfsMount drive(dir / "usb", "size=512k");
    if (!drive.mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here: " << drive.reason();
    class Quiet final : public CopyObserver {
        void onProgress(const CopyProgress&) override {}
        bool cancelRequested() override { return false; }
    } observer;
    const std::string target = (dir / "usb" / "Sicherung").string();

    ASSERT_TRUE(CopyToFolder((dir / "Daten").string(), target, kCopyFlagsNewCopy, observer));
    writeBytes(dir / "Daten" / "gross.bin", std::string(1 << 20, 'g'));
    const Result<> full =
        CopyToFolder((dir / "Daten").string(), target, kCopyFlagsNewCopy, observer);
    ASSERT_FALSE(full);
    EXPECT_NE(full.error().message.find("Nicht genügend Speicherplatz"), std::string::npos);
    EXPECT_EQ(std::distance(stdfs::directory_iterator(target), {}), 1) << "only the first copy";

    drive.unmount();
    const Result<> absent =
        CopyToFolder((dir / "Daten").string(), target, kCopyFlagsNewCopy, observer);
    ASSERT_FALSE(absent);
    EXPECT_NE(absent.error().message.find("ein Laufwerk aus, das nicht verbunden ist"),
              std::string::npos);
    EXPECT_TRUE(stdfs::is_empty(dir / "usb"));
}

}  // namespace
}  // namespace vaultrix

#endif
