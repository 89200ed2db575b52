#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Eventually.h"
#include "support/TempDir.h"

namespace vaultrix::test {
namespace {

// The program as built, run as a user would from a terminal: in a folder of its own, with
// exactly the environment given, its two outputs kept in files beside that folder.
class Program {
public:
    Program(const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment) {
        std::filesystem::create_directory(folder());
        std::vector<std::string> argv{VAULTRIX_PROGRAM};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> args;
        for (std::string& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        std::vector<std::string> env = environment;
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        const std::string out = (outputs_ / "out").string();
        const std::string err = (outputs_ / "err").string();
        const std::string work = folder().string();
        pid_ = ::fork();
        if (pid_ == 0) {
            const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 ||
                ::chdir(work.c_str()) != 0) {
                ::_exit(127);
            }
            ::execve(args[0], args.data(), envp.data());
            ::_exit(127);
        }
    }
    ~Program() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    std::filesystem::path folder() const { return outputs_ / "Arbeitsordner"; }

    // The exit code once the program has ended by itself; -1 when it did not end in time or
    // ended by a signal (Qt's abort).
    int exitCode() {
        int status = 0;
        ended_ = eventually([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
        return ended_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void terminate() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        ended_ = true;
    }

    std::string out() const { return readBytes(outputs_ / "out"); }
    std::string err() const { return readBytes(outputs_ / "err"); }

private:
    TempDir outputs_;
    pid_t pid_ = -1;
    bool ended_ = false;
};

bool empty(const std::filesystem::path& folder) {
    return std::filesystem::directory_iterator(folder) == std::filesystem::directory_iterator();
}

TEST(CommandLine, HelpAndVersionAnswerWithoutADisplay) {
    for (const char* help : {"--help", "-h"}) {
        Program program({help}, {});
        EXPECT_EQ(program.exitCode(), 0) << help;
        EXPECT_EQ(program.out().rfind("Aufruf: vaultrix [--help | --version]\n", 0), 0u) << help;
        EXPECT_EQ(program.err(), "") << help;
    }
    for (const char* version : {"--version", "-v"}) {
        Program program({version}, {});
        EXPECT_EQ(program.exitCode(), 0) << version;
        EXPECT_EQ(program.out(), "Vaultrix 1.0\n") << version;
    }
}

TEST(CommandLine, AnythingElseGetsTheUsageOnStandardErrorAndEndsWithTwo) {
    const std::vector<std::vector<std::string>> calls{
        {"--bogus"}, {"Sicherung"}, {"--help", "-x"}, {"-platform", "offscreen"}};
    for (const std::vector<std::string>& call : calls) {
        const std::string unknown = call[0] == "--help" ? call[1] : call[0];
        Program program(call, {"QT_QPA_PLATFORM=offscreen"});
        EXPECT_EQ(program.exitCode(), 2) << unknown;
        EXPECT_EQ(program.out(), "") << unknown;
        EXPECT_EQ(program.err().rfind("vaultrix: unbekanntes Argument \u201E" + unknown +
                                          "\u201C\n\nAufruf: vaultrix",
                                      0),
                  0u)
            << program.err();
        EXPECT_TRUE(empty(program.folder())) << unknown;
    }
}

TEST(CommandLine, WithoutADisplayAGermanMessageAndExitCodeOne) {
    constexpr const char* kNoDisplay =
        "vaultrix: Keine grafische Anzeige erreichbar. Vaultrix braucht eine Desktop-Sitzung\n"
        "(X11 oder Wayland); starten Sie es dort oder auf einer virtuellen Anzeige (xvfb-run).\n";
    // Nothing named: Qt is not even asked. Then an X display that is not there, and X11 asked
    // for by name without one: Qt tries, and its diagnostics come first.
    const std::vector<std::vector<std::string>> environments{
        {}, {"DISPLAY=", "WAYLAND_DISPLAY="}, {"DISPLAY=:7391"}, {"QT_QPA_PLATFORM=xcb"}};
    for (const std::vector<std::string>& environment : environments) {
        const std::string name = environment.empty() ? "-" : environment[0];
        Program program({}, environment);
        EXPECT_EQ(program.exitCode(), 1) << name;
        const std::string err = program.err();
        if (environment.size() != 1) {
            EXPECT_EQ(err, kNoDisplay) << name;
        } else {
            EXPECT_TRUE(err.size() > std::strlen(kNoDisplay) && err.ends_with(kNoDisplay))
                << name << ": " << err;
        }
        EXPECT_TRUE(empty(program.folder())) << name;
    }
}

TEST(CommandLine, TheOffscreenPlatformCountsAsADisplay) {
    Program program({}, {"QT_QPA_PLATFORM=offscreen"});
    // Up once it holds its folder.
    EXPECT_TRUE(eventually([&] {
        return std::filesystem::exists(program.folder() / "vaultrix.lock");
    })) << program.err();
    program.terminate();
}

}  // namespace
}  // namespace vaultrix::test
