#include "platform/FileCopy.h"
#include "platform/FileSystem_posix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vaultrix::fs {
namespace {

constexpr std::size_t kBufferBytes = 256u << 10;

// Closes the descriptor when the copy leaves, whichever way.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, because closing can report a write error (network file systems do).
    OsCode close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? kOsOk : errno;
    }

private:
    int fd_;
};

bool fastPathMissing(int code) {
    return code == EXDEV || code == EINVAL || code == ENOSYS || code == EOPNOTSUPP ||
           code == ENOTTY || code == EBADF || code == EPERM;
}

// Moves `length` bytes on from the descriptors' offsets: in the kernel where the file systems
// offer it (not across some of them), else through the buffer; tells the hook every few MiB.
// Stops early when the file shrank while we copied.
OsCode copySpan(int in, int out, std::uint64_t length, ChunkHook& hook, CopyContext& context) {
    while (context.tryCopyRange && length > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min(kCopyChunkBytes, length));
        const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, want, 0);
        if (moved < 0) {
            if (errno == EINTR) continue;
            if (fastPathMissing(errno)) {
                context.tryCopyRange = false;
                break;
            }
            return errno;
        }
        if (moved == 0) return kOsOk;
        length -= static_cast<std::uint64_t>(moved);
        if (const OsCode code = hook.afterChunk(static_cast<std::uint64_t>(moved)); code != kOsOk)
            return code;
    }
    if (context.buffer.size() != kBufferBytes) context.buffer.resize(kBufferBytes);
    std::uint64_t sinceHook = 0;
    while (length > 0) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(context.buffer.size(), length));
        const ssize_t got = ::read(in, context.buffer.data(), want);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) break;
        if (const OsCode code =
                writeAll(out, {context.buffer.data(), static_cast<std::size_t>(got)});
            code != kOsOk) {
            return code;
        }
        length -= static_cast<std::uint64_t>(got);
        sinceHook += static_cast<std::uint64_t>(got);
        if (sinceHook >= kCopyChunkBytes) {
            if (const OsCode code = hook.afterChunk(sinceHook); code != kOsOk) return code;
            sinceHook = 0;
        }
    }
    return sinceHook > 0 ? hook.afterChunk(sinceHook) : kOsOk;
}

// Copies only the data ranges of a file with holes and leaves the holes as holes, so a large
// mostly empty file (a disk image, a database) takes no more room in the backup than at home.
OsCode copySparse(int in, int out, std::uint64_t size, ChunkHook& hook, CopyContext& context) {
    const auto end = static_cast<off_t>(size);
    off_t offset = 0;
    while (offset < end) {
        const off_t data = ::lseek(in, offset, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO) break;  // only a hole is left
            // A file system that cannot tell its holes: the whole file, zeros and all.
            if (offset == 0) return copySpan(in, out, size, hook, context);
            return errno;
        }
        if (data >= end) break;
        const off_t hole = std::min(::lseek(in, data, SEEK_HOLE), end);
        if (hole < 0) return errno;
        if (::lseek(in, data, SEEK_SET) < 0 || ::lseek(out, data, SEEK_SET) < 0) return errno;
        if (const OsCode code =
                copySpan(in, out, static_cast<std::uint64_t>(hole - data), hook, context);
            code != kOsOk) {
            return code;
        }
        offset = hole;
    }
    return ::ftruncate(out, end) == 0 ? kOsOk : errno;
}

// Copies the file's contents: a clone where the file system offers one (it keeps holes), else
// the data ranges of a file with holes, else every byte.
OsCode copyContents(int in, int out, const struct stat& source, ChunkHook& hook,
                    CopyContext& context) {
    const auto size = static_cast<std::uint64_t>(source.st_size);
    if (size == 0) return kOsOk;
    if (context.tryClone) {
        if (::ioctl(out, FICLONE, in) == 0) return hook.afterChunk(size);
        // A clone is only ever a shortcut: any refusal leaves the ordinary ways to try.
        context.tryClone = false;
    }
    // Fewer 512-byte blocks than the size needs: the file has holes.
    if (static_cast<std::uint64_t>(source.st_blocks) * 512 < size)
        return copySparse(in, out, size, hook, context);
    return copySpan(in, out, size, hook, context);
}

}  // namespace

OsCode copyFileData(const std::string& from, const std::string& to, bool syncData, ChunkHook& hook,
                    CopyContext& context) {
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (in.get() < 0) return errno;
    struct stat source {};
    if (::fstat(in.get(), &source) != 0) return errno;

    // A large file is read front to back: a wider read-ahead keeps the disk streaming.
    if (static_cast<std::uint64_t>(source.st_size) >= kCopyChunkBytes)
        ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    Descriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (out.get() < 0) return errno;

    OsCode code = copyContents(in.get(), out.get(), source, hook, context);
    // Times are set last: a file cut short never carries the source's time, so the next
    // run does not take it for current.
    // Permission bits a destination cannot hold (FAT, some shares) are best effort.
    if (code == kOsOk && ::fchmod(out.get(), source.st_mode & 07777) != 0 &&
        !attributeRefused(errno)) {
        code = errno;
    }
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (code == kOsOk && ::futimens(out.get(), times) != 0) code = errno;
    if (code == kOsOk && syncData && ::fdatasync(out.get()) != 0) code = errno;
    const OsCode closed = out.close();
    if (code == kOsOk) code = closed;
    if (code != kOsOk) ::unlink(to.c_str());
    return code;
}

OsCode flushVolume(const std::string& folder) {
    Descriptor volume(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (volume.get() < 0) return errno;
    return ::syncfs(volume.get()) == 0 ? kOsOk : errno;
}

}  // namespace vaultrix::fs
