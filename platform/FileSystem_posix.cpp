#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/FileSystem_posix.h"
#include "platform/PathText.h"

namespace vaultrix::fs {
namespace {

std::int64_t nanoseconds(const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

struct timespec timespecOf(std::int64_t ns) {
    struct timespec t {};
    t.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    t.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    if (t.tv_nsec < 0) {  // times before 1970
        t.tv_nsec += 1'000'000'000;
        t.tv_sec -= 1;
    }
    return t;
}

EntryKind kindOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::Link;
    return EntryKind::Special;
}

OsCode readLink(const std::string& path, std::string& target) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(length));
            return kOsOk;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

OsCode statEntry(const std::string& path, EntryInfo& info, bool followLink) {
    struct stat st {};
    const int result = followLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (result != 0) {
        info = EntryInfo{};
        return errno == ENOENT ? kOsOk : errno;
    }
    info.kind = kindOf(st.st_mode);
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.modifiedNs = nanoseconds(st.st_mtim);
    info.permissions = st.st_mode & 07777;
    info.device = static_cast<std::uint64_t>(st.st_dev);
    info.index = static_cast<std::uint64_t>(st.st_ino);
    return kOsOk;
}

OsCode listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries,
                         bool lookAtEntries) {
    entries.clear();
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return errno;
    const int descriptor = ::dirfd(folder);
    OsCode code = kOsOk;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (entry == nullptr) {
            code = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        bool isFolder = entry->d_type == DT_DIR;
        // A link, or a file system that leaves the type open, is asked what it is.
        if (lookAtEntries && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)) {
            struct stat st {};
            isFolder = ::fstatat(descriptor, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(FolderEntry{entry->d_name, isFolder});
    }
    ::closedir(folder);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return code;
}

OsCode makeFolder(const std::string& path) {
    return ::mkdir(path.c_str(), S_IRWXU) == 0 ? kOsOk : errno;
}

OsCode makeUserFolder(const std::string& path) {
    return ::mkdir(path.c_str(), S_IRWXU | S_IRWXG | S_IRWXO) == 0 ? kOsOk : errno;
}

OsCode copyLink(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::lstat(from.c_str(), &st) != 0) return errno;
    std::string target;
    if (const OsCode code = readLink(from, target); code != kOsOk) return code;
    if (::symlink(target.c_str(), to.c_str()) != 0) return errno;
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        const OsCode code = errno;
        ::unlink(to.c_str());
        return code;
    }
    return kOsOk;
}

OsCode makeSymbolicLink(const std::string& target, const std::string& path) {
    return ::symlink(target.c_str(), path.c_str()) == 0 ? kOsOk : errno;
}

OsCode replaceEntry(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? kOsOk : errno;
}

void removeQuietly(const std::string& path) {
    ::unlink(path.c_str());
}

OsCode applyAttributes(const std::string& path, const EntryInfo& info) {
    // Permission bits a destination cannot hold are best effort; the time must be kept.
    if (::chmod(path.c_str(), static_cast<mode_t>(info.permissions & 07777)) != 0 &&
        !attributeRefused(errno)) {
        return errno;
    }
    // The access time is given as it is rather than left out: the FUSE drivers of FAT and
    // exFAT ignore a change of times that leaves one out (UTIME_OMIT).
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    const struct timespec times[2] = {st.st_atim, timespecOf(info.modifiedNs)};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? kOsOk : errno;
}

bool folderWritable(const EntryInfo& info) {
    return (info.permissions & S_IRWXU) == S_IRWXU;
}

OsCode makeFolderWritable(const std::string& path, const EntryInfo& info) {
    const mode_t mode = static_cast<mode_t>((info.permissions & 07777) | S_IRWXU);
    return ::chmod(path.c_str(), mode) == 0 ? kOsOk : errno;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::size_t end = folder.size();
    while (end > 0 && folder[end - 1] == '/') --end;
    if (end == 0 && !folder.empty()) return "/" + name;
    if (folder.empty()) return name;
    return folder.substr(0, end) + "/" + name;
}

bool samePathText(const std::string& a, const std::string& b) {
    return a == b;
}

std::string lastName(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] == '/') --end;
    const std::size_t slash = path.rfind('/', end == 0 ? 0 : end - 1);
    const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return end > begin ? path.substr(begin, end - begin) : std::string();
}

std::string normalisePath(const std::string& path) {
    const bool rooted = !path.empty() && path[0] == '/';
    const std::string names = collapseDots(path, "/", '/', rooted);
    if (rooted) return "/" + names;
    return names.empty() && !path.empty() ? "." : names;
}

OsCode removeTree(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? kOsOk : errno;
    if (!S_ISDIR(st.st_mode)) return ::unlink(path.c_str()) == 0 ? kOsOk : errno;
    if ((st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(path.c_str(), static_cast<mode_t>((st.st_mode & 07777) | S_IRWXU));
    std::vector<std::string> names;
    OsCode code = listFolder(path, names);
    for (const std::string& name : names) {
        const OsCode removed = removeTree(joinPath(path, name));
        if (code == kOsOk) code = removed;
    }
    if (::rmdir(path.c_str()) != 0 && code == kOsOk) code = errno;
    return code;
}

OsCode renameNew(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return kOsOk;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    // File systems without the flag (some network ones): a look just before the rename.
    struct stat st {};
    if (::lstat(to.c_str(), &st) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? kOsOk : errno;
}

OsCode exchangeEntries(const std::string& first, const std::string& second,
                       const std::string& spare) {
#ifdef RENAME_EXCHANGE
    if (::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0)
        return kOsOk;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    if (::rename(second.c_str(), spare.c_str()) != 0) return errno;
    if (::rename(first.c_str(), second.c_str()) != 0) {
        const OsCode code = errno;
        ::rename(spare.c_str(), second.c_str());
        return code;
    }
    return ::rename(spare.c_str(), first.c_str()) == 0 ? kOsOk : errno;
}

OsCode changeTime(const std::string& path, std::int64_t& changedNs) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    changedNs = nanoseconds(st.st_ctim);
    return kOsOk;
}

OsCode markChanged(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    if (S_ISLNK(st.st_mode)) return kOsOk;  // a link's mode cannot be set, and it is never in use
    return ::chmod(path.c_str(), st.st_mode & 07777) == 0 ? kOsOk : errno;
}

OsCode writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return kOsOk;
}

unsigned long currentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

bool processRunning(unsigned long processId) {
    // 0 and negative numbers would address process groups.
    if (processId == 0 || processId > static_cast<unsigned long>(INT_MAX)) return false;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace vaultrix::fs
