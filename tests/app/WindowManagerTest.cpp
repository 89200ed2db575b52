// The main window under a real window manager: a virtual X display (Xvfb) with openbox, which
// frames windows as a desktop does. Runs as its own program, because the window system is
// chosen once per process; skips itself, saying why, where neither can be started.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "FormFixture.h"
#include "app/Placement.h"
#include "app/Resources.h"

extern char** environ;

namespace vaultrix::test {
namespace {

constexpr std::chrono::seconds kStartBound{10};

// Why the tests below cannot run; empty while a window manager frames windows.
std::string& skipReason() {
    static std::string reason = "no virtual display was started";
    return reason;
}

pid_t spawn(const std::vector<std::string>& arguments, posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) return 0;
    return pid;
}

void stop(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = 0;
}

// Xvfb with openbox on it, for the life of the test program.
class Desktop {
public:
    ~Desktop() {
        stop(windowManager_);
        stop(display_);
    }

    // The display's name (":N") once openbox manages it; empty, with skipReason() set, if not.
    std::string start() {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return fail("no pipe for Xvfb");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        display_ =
            spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                  &actions);
        posix_spawn_file_actions_destroy(&actions);
        ::close(pipeEnds[1]);
        std::string number;
        pollfd readable{pipeEnds[0], POLLIN, 0};
        char c = 0;
        while (display_ > 0 && ::poll(&readable, 1, int(kStartBound.count()) * 1000) > 0 &&
               ::read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        ::close(pipeEnds[0]);
        if (display_ <= 0) return fail("Xvfb cannot be started (install it: apt-get install xvfb)");
        if (number.empty()) return fail("Xvfb gave no display number");
        const std::string name = ":" + number;

        // Openbox runs its start-up command once it manages the screen.
        const std::filesystem::path ready = readyFolder_.path() / "ready";
        ::setenv("DISPLAY", name.c_str(), 1);
        windowManager_ =
            spawn({"openbox", "--sm-disable", "--startup", "touch " + ready.string()}, nullptr);
        if (windowManager_ <= 0) {
            return fail("openbox cannot be started (install it: apt-get install openbox)");
        }
        const auto end = std::chrono::steady_clock::now() + kStartBound;
        while (!std::filesystem::exists(ready)) {
            if (std::chrono::steady_clock::now() > end ||
                ::waitpid(windowManager_, nullptr, WNOHANG) != 0) {
                return fail("openbox did not take over the virtual display");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        skipReason().clear();
        return name;
    }

private:
    std::string fail(const std::string& reason) {
        skipReason() = reason;
        return {};
    }

    TempDir readyFolder_;
    pid_t display_ = 0;
    pid_t windowManager_ = 0;
};

class WindowManagerTest : public FormTest {
protected:
    void SetUp() override {
        if (!skipReason().empty()) GTEST_SKIP() << skipReason();
    }

    // The frame once the window manager has framed the window and it stands at `expected`,
    // or where it stands after the wait.
    QRect settledFrame(const Form1& window, const QRect& expected) {
        static_cast<void>(QTest::qWaitFor(
            [&] {
                return !window.windowHandle()->frameMargins().isNull() &&
                       window.frameGeometry() == expected;
            },
            5000));
        return window.frameGeometry();
    }
};

TEST_F(WindowManagerTest, TheFrameCoversThePlacedRectangle) {
    Form1& centred = startForm();
    EXPECT_EQ(settledFrame(centred, QRect(112, 94, 800, 580)), QRect(112, 94, 800, 580));
    const QMargins frame = centred.windowHandle()->frameMargins();
    EXPECT_GT(frame.top(), 0) << "the window manager gave the window no title bar";
    EXPECT_EQ(centred.geometry(), QRect(112, 94, 800, 580).marginsRemoved(frame));

    workArea = QRect(20, 30, 850, 700);
    EXPECT_EQ(settledFrame(startForm(), workArea), workArea);
}

}  // namespace
}  // namespace vaultrix::test

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::string(argv[i]) == "--gtest_list_tests";
    // Listing the tests (at build time) starts no display.
    vaultrix::test::Desktop desktop;
    const std::string display = listing ? std::string() : desktop.start();
    qputenv("QT_QPA_PLATFORM", display.empty() ? "offscreen" : "xcb");
    // The virtual desktop has no session bus; told so, Qt does not have one started for it.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QApplication app(argc, argv);
    vaultrix::loadResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
