#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/AtomicFile.h"
#include "platform/AtomicFileParts.h"
#include "platform/FileSystem.h"
#include "platform/FileSystem_posix.h"
#include "platform/PathText.h"

namespace vaultrix {
namespace {

// Makes the rename itself durable; a folder that cannot be synced changes nothing about the
// outcome, so its failure is not reported.
void syncFolder(const std::filesystem::path& folder) {
    const auto name = folder.empty() ? std::string(".") : folder.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const auto resolved = linkTarget(file, ELOOP);
    if (!resolved) {
        return resolved.error();
    }
    const auto& target = resolved.value();
    const auto temporary = temporaryFileFor(target);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) {
        return writeError(file, errno);
    }
    // The replacement keeps the permissions the old file had.
    int writeErrno = 0;
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0) writeErrno = errno;
    if (writeErrno == 0) writeErrno = fs::writeAll(fd, bytes);
    if (writeErrno == 0 && ::fsync(fd) != 0) writeErrno = errno;
    const bool written = writeErrno == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeErrno;
        ::unlink(temporary.c_str());
        return writeError(file, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return writeError(file, error);
    }
    syncFolder(target.parent_path());
    return success();
}

}  // namespace vaultrix
