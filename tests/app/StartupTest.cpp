#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLockFile>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <vector>

#if defined(__linux__)
#include <sys/mount.h>
#include <unistd.h>
#endif

#include "FormFixture.h"
#include "app/Application.h"
#include "app/Placement.h"
#include "engine/Scheduler.h"
#include "platform/TemporaryFiles.h"

namespace vaultrix::test {
namespace {

TEST(Placement, NarrowAreasRefuseMiddleOnesFillWideOnesCentreWithoutTheOrigin) {
    EXPECT_TRUE(placementFor(QRect(0, 0, 789, 700)).tooNarrow);
    for (const QRect filled : {QRect(0, 0, 790, 600), QRect(10, 20, 850, 700)}) {
        const WindowPlacement placement = placementFor(filled);
        EXPECT_FALSE(placement.tooNarrow);
        EXPECT_EQ(placement.rect, filled);
    }
    EXPECT_EQ(placementFor(QRect(100, 30, 851, 768)).rect, QRect(25, 94, 800, 580));
    EXPECT_EQ(placementFor(QRect(0, 0, 1024, 768)).rect, QRect(112, 94, 800, 580));
}

TEST(Placement, TheClientAreaLeavesRoomForTheFrameOfTheWindowManager) {
    // Openbox's frame and icewm's: the frame stays 800 × 580.
    EXPECT_EQ(clientSizeFor(QSize(800, 580), QMargins(1, 20, 1, 1)), QSize(798, 559));
    EXPECT_EQ(clientSizeFor(QSize(800, 580), QMargins(5, 24, 5, 5)), QSize(790, 551));
    // Without a window manager the client area is the whole window.
    EXPECT_EQ(clientSizeFor(QSize(850, 700), QMargins()), QSize(850, 700));
    EXPECT_EQ(clientSizeFor(QSize(10, 10), QMargins(8, 8, 8, 8)), QSize(0, 0));
}

TEST_F(FormTest, ATooNarrowWorkAreaEndsWithCodeOneBeforeAnythingIsWritten) {
    workArea = QRect(0, 0, 789, 768);
    Application program(services());
    EXPECT_EQ(program.start(), std::optional<int>(1));
    EXPECT_FALSE(program.window()->isVisible());
    EXPECT_FALSE(program.threadsLeft());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(FormTest, TheWindowWithItsFrameFillsAMiddleWorkAreaAndIsCentredInAWideOne) {
    for (const QRect middle : {QRect(0, 0, 790, 600), QRect(0, 0, 850, 600)}) {
        workArea = middle;
        EXPECT_EQ(startForm().frameGeometry(), middle);
    }
    workArea = QRect(0, 0, 851, 768);
    EXPECT_EQ(startForm().frameGeometry(), QRect(25, 94, 800, 580));
}

TEST_F(FormTest, TheMainWindowKeepsItsSizeAndOffersNoMaximiseButton) {
    Form1& window = startForm();
    const QSize placed = window.size();
    window.resize(placed + QSize(120, 40));
    EXPECT_EQ(window.size(), placed);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
}

TEST_F(FormTest, ANonZeroStartStatusKeepsTheWindowHiddenOnlyWhereATrayCanBringItBack) {
    trayAvailable = true;
    for (const char* status : {"1", "2", "-1", " 3x"}) {
        writeSettings(std::string("[EINSTELLUNG]\r\nstatus=") + status + "\r\n");
        EXPECT_FALSE(startForm().isVisible()) << status;
        form.reset();
    }
    for (const char* status : {"0", "", "ja"}) {
        writeSettings(std::string("[EINSTELLUNG]\r\nstatus=") + status + "\r\n");
        EXPECT_TRUE(startForm().isVisible()) << status;
        form.reset();
    }
    trayAvailable = false;
    writeSettings("[EINSTELLUNG]\r\nstatus=1\r\n");
    EXPECT_TRUE(startForm().isVisible());
}

TEST_F(FormTest, ASecondProgramInTheSameFolderSaysSoAndTouchesNothing) {
    Application first(services());
    ASSERT_EQ(first.start(), std::nullopt);
    const QStringList before = QDir(QString::fromStdString(dir.path().string())).entryList();

    FakePresenter secondPresenter;
    Application second(
        FormServices{dir.path(), clock, secondPresenter, sounds, [this] { return workArea; }});
    EXPECT_EQ(second.start(), std::optional<int>(0));
    EXPECT_EQ(second.window(), nullptr);
    ASSERT_EQ(secondPresenter.shown.size(), 1u);
    EXPECT_EQ(secondPresenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Information"));
    EXPECT_EQ(secondPresenter.shown[0].text,
              QStringLiteral("Vaultrix 1.0 wird in diesem Ordner bereits ausgeführt."));
    EXPECT_EQ(secondPresenter.shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path().string())).entryList(), before);

    TempDir otherFolder;
    Application elsewhere(FormServices{otherFolder.path(), clock, secondPresenter, sounds,
                                       [this] { return workArea; }});
    EXPECT_EQ(elsewhere.start(), std::nullopt);
}

TEST_F(FormTest, TheLockOfACrashedProgramIsTakenOver) {
    const QString lockFile = instanceLockFile(dir.path());
    {
        // What a program that died while running leaves behind: its lock with a process id
        // that no longer exists.
        QFile stale(lockFile);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write(
            QStringLiteral("1073741823\nvaultrix\n%1\n").arg(QSysInfo::machineHostName()).toUtf8());
    }
    Application program(services());
    EXPECT_EQ(program.start(), std::nullopt);
    EXPECT_TRUE(presenter.shown.empty());
}

TEST_F(FormTest, TheLockLiesInTheFolderAndStaleLeftoversOfRewritesGo) {
    const TemporaryOwner running = thisProgram();
    // Above every process id the systems hand out.
    const TemporaryOwner gone{4194304999ul, running.host};
    std::vector<std::filesystem::path> stale;
    for (const char* file : {"save.ini", "savename.ini", "save.log", "Einstellung.ini"})
        stale.push_back(dir / temporaryName(file, gone, 1));
    const auto inUse = dir / temporaryName("save.ini", running, 2);
    const auto foreign = dir / temporaryName("notiz", gone, 3);
    for (const auto& file : stale) writeBytes(file, "Inhalt");
    for (const auto& file : {inUse, foreign}) writeBytes(file, "Inhalt");
    Application first(services());
    ASSERT_EQ(first.start(), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(dir / "vaultrix.lock"));
    for (const auto& file : stale) EXPECT_FALSE(std::filesystem::exists(file)) << file;
    EXPECT_TRUE(std::filesystem::exists(inUse));
    EXPECT_TRUE(std::filesystem::exists(foreign));
#if !defined(_WIN32)
    // Another path to the same folder meets the same lock.
    TempDir elsewhere;
    std::filesystem::create_directory_symlink(dir.path(), elsewhere / "link");
    Application second(services(elsewhere / "link"));
    EXPECT_EQ(second.start(), std::optional<int>(0));
#endif
}

#if defined(__linux__)
TEST_F(FormTest, AReadOnlyFolderStillKeepsASecondProgramOutWhateverItsTemporaryFolder) {
    TempDir readOnly;
    const auto mountPoint = readOnly.path().string();
    struct Unmount {
        std::string path;
        ~Unmount() {
            if (!path.empty()) ::umount2(path.c_str(), MNT_DETACH);
        }
    } unmount;
    // The superuser writes into any folder that is not on a read-only mount.
    if (::geteuid() == 0) {
        if (::mount(dir.path().c_str(), mountPoint.c_str(), nullptr, MS_BIND, nullptr) != 0)
            GTEST_SKIP() << "no bind mount can be made here";
        unmount.path = mountPoint;
        ASSERT_EQ(::mount(nullptr, mountPoint.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY,
                          nullptr),
                  0);
    } else {
        std::filesystem::permissions(readOnly.path(), std::filesystem::perms::owner_read |
                                                          std::filesystem::perms::owner_exec);
    }
    Application first(services(readOnly.path()));
    ASSERT_EQ(first.start(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(readOnly / "vaultrix.lock"));

    // Started from another shell, with a temporary folder of its own.
    TempDir otherTemporary;
    const char* const temporary = std::getenv("TMPDIR");
    const std::string saved = temporary != nullptr ? temporary : "";
    ::setenv("TMPDIR", otherTemporary.path().c_str(), 1);
    FakePresenter secondPresenter;
    Application second(
        FormServices{readOnly.path(), clock, secondPresenter, sounds, [this] { return workArea; }});
    EXPECT_EQ(second.start(), std::optional<int>(0));
    if (temporary != nullptr) {
        ::setenv("TMPDIR", saved.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    ASSERT_EQ(secondPresenter.shown.size(), 1u);
    EXPECT_EQ(secondPresenter.shown[0].text,
              QStringLiteral("Vaultrix 1.0 wird in diesem Ordner bereits ausgeführt."));
    if (::geteuid() != 0)
        std::filesystem::permissions(readOnly.path(), std::filesystem::perms::owner_all);
}
#endif

// What a rename stopped half way by an earlier program left, and a name listed without any
// section: the start repairs both, and logs them, before the window lists the names.
TEST_F(FormTest, TheStartRepairsWhatACrashLeftBeforeTheNamesAreListed) {
    writeBytes(dir / "savename.ini",
               "[SICHERUNG]\r\nname_1=Alt\r\nname_2=X\r\n\r\n[NUMMER]\r\nwert=2\r\n");
    writeBytes(dir / "save.ini",
               "[Neu]\r\nvon_0=" + folder("quelle") + "\r\nnach=" + folder("ziel") + "\r\n");
    Application program(services());
    ASSERT_EQ(program.start(), std::nullopt);
    QListWidget* list = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = window->findChild<QListWidget*>(QStringLiteral("lb_anzeige")))
            list = found;
    }
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Neu"));
    const std::string log = readBytes(dir / "save.log");
    EXPECT_NE(log.find("Sicherung=beim Start wiederhergestellt\r\nName=Neu\r\nVerlauf=ok"),
              std::string::npos);
    EXPECT_NE(log.find("Sicherung=beim Start entfernt (Einstellungen fehlten)\r\nName=X\r\n"
                       "Verlauf=error"),
              std::string::npos);
}

TEST_F(FormTest, SetFilesThatCannotBeReadAtTheStartAreReported) {
    std::filesystem::create_directory(dir / "save.ini");
    Application program(services());
    ASSERT_EQ(program.start(), std::nullopt);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].title, QStringLiteral("Vaultrix 1.0 - Fehler"));
    EXPECT_TRUE(
        presenter.shown[0].text.contains(QStringLiteral("save.ini' kann nicht gelesen werden")))
        << presenter.shown[0].text.toStdString();
}

TEST_F(FormTest, TheThreadsShowTheClockAndTheCountdownInTheCaption) {
    Form1& window = startForm();
    auto* clockText = control<QLabel>("label_datum_zeit");
    const QString shown = QStringLiteral("07.12.2026\nMontag\n03:17:00");
    ASSERT_TRUE(QTest::qWaitFor([&] { return clockText->text() == shown; }, 10000))
        << clockText->text().toStdString();
    const QString caption = QStringLiteral("Vaultrix 1.0 - ") +
                            QString::fromStdString(statusTextFor(true, kNoNextRun).oneLine);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.windowTitle() == caption; }, 10000))
        << window.windowTitle().toStdString();
}

TEST_F(FormTest, ClosingWhileIdleStopsEveryThread) {
    Form1& window = startForm();
    bool closed = false;
    QObject::connect(&window, &Form1::closed, [&] { closed = true; });
    window.close();
    EXPECT_TRUE(closed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->threadsAlive(); }, 5000));
}

TEST_F(FormTest, TheEventLoopEndsWithCodeZeroWhenTheWindowCloses) {
    Application program(services());
    ASSERT_EQ(program.start(), std::nullopt);
    QTimer::singleShot(0, program.window(), [&] { program.window()->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !program.threadsLeft(); }, 5000));
}

}  // namespace
}  // namespace vaultrix::test
