#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem_posix.h"
#include "platform/PermissionProbe.h"

namespace vaultrix::fs {

OsCode makeEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return errno;
    return ::close(fd) == 0 ? kOsOk : errno;
}

OsCode keepsPermissions(const std::string& file, bool& kept) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return errno;
    // One bit more or less for the group, which the owner keeps in every case.
    const mode_t other = static_cast<mode_t>((st.st_mode & 07777) ^ S_IRGRP) | S_IRUSR | S_IWUSR;
    if (::chmod(file.c_str(), other) != 0) {
        if (!attributeRefused(errno)) return errno;
        kept = false;
        return kOsOk;
    }
    if (::stat(file.c_str(), &st) != 0) return errno;
    kept = (st.st_mode & 07777) == other;
    return kOsOk;
}

}  // namespace vaultrix::fs
