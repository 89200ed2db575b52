#include "platform/InstanceLock.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "platform/PathText.h"
#include "support/TempDir.h"

namespace vaultrix {
namespace {

using Outcome = InstanceLock::Outcome;
using test::makeLink;
using test::TempDir;

std::string text(const std::filesystem::path& path) {
    return fs::pathText(path);
}

TEST(InstanceLock, OneHolderPerFolderByAnyPathAndNothingWrittenThere) {
    TempDir dir;
    InstanceLock first;
    ASSERT_EQ(first.tryLock(text(dir.path())), Outcome::taken);
    EXPECT_TRUE(first.locked());

    InstanceLock second;
    EXPECT_EQ(second.tryLock(text(dir.path())), Outcome::held);
    EXPECT_FALSE(second.locked());
    // Another spelling of the path, and a link to the folder.
    EXPECT_EQ(second.tryLock(text(dir.path()) + "/."), Outcome::held);
    TempDir elsewhere;
    if (makeLink(dir.path(), elsewhere / "link", true).empty()) {
        EXPECT_EQ(second.tryLock(text(elsewhere / "link")), Outcome::held);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // Another folder has its own lock; the first one's is free once it is let go.
    InstanceLock third;
    EXPECT_EQ(third.tryLock(text(elsewhere.path())), Outcome::taken);
    first.release();
    EXPECT_FALSE(first.locked());
    EXPECT_EQ(second.tryLock(text(dir.path())), Outcome::taken);
    {
        InstanceLock gone;
        EXPECT_EQ(gone.tryLock(text(dir / "fehlt")), Outcome::failed);
        EXPECT_NE(gone.error(), fs::kOsOk);
    }
}

TEST(InstanceLock, AReadOnlyFolderIsLockedAsWell) {
    TempDir dir;
    const std::filesystem::path folder = dir / "nur-lesen";
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    InstanceLock first;
    InstanceLock second;
    EXPECT_EQ(first.tryLock(text(folder)), Outcome::taken);
    EXPECT_EQ(second.tryLock(text(folder)), Outcome::held);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

#ifndef _WIN32
TEST(InstanceLock, TheLockGoesWithItsHolderWhenItIsKilled) {
    TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock;
        const char outcome = lock.tryLock(text(dir.path())) == Outcome::taken ? 't' : 'f';
        if (::write(ready[1], &outcome, 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char outcome = 0;
    ASSERT_EQ(::read(ready[0], &outcome, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(outcome, 't');

    InstanceLock lock;
    EXPECT_EQ(lock.tryLock(text(dir.path())), Outcome::held);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(lock.tryLock(text(dir.path())), Outcome::taken);
}
#endif

}  // namespace
}  // namespace vaultrix
