#include "platform/FileCopy.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/FileSystem_win.h"

// After <windows.h>, which it needs.
#include <winioctl.h>

namespace vaultrix::fs {
namespace {

constexpr std::size_t kBufferBytes = 1u << 20;
// The attributes a copy carries over, as statEntry reports them.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

OsCode lastError() {
    return static_cast<OsCode>(GetLastError());
}

// Closes the handle when the copy leaves, whichever way.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now, because closing can report a write error (network shares do).
    OsCode close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) ? kOsOk : lastError();
    }

private:
    HANDLE handle_;
};

// Moves `length` bytes on from the handles' positions through the buffer and tells the hook
// after every 4 MiB at most, so a cancel or a fault stops a large file early. (CopyFileExW's
// progress routine could do that, but not every system calls it: Wine never does.) Stops
// early when the file shrank while we copied.
OsCode copySpan(HANDLE in, HANDLE out, std::uint64_t length, ChunkHook& hook,
                std::vector<char>& buffer) {
    std::uint64_t sinceHook = 0;
    while (length > 0) {
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), length));
        DWORD got = 0;
        if (!ReadFile(in, buffer.data(), want, &got, nullptr)) return lastError();
        if (got == 0) break;
        if (const OsCode code = writeAll(out, {buffer.data(), got}); code != kOsOk) return code;
        length -= got;
        sinceHook += got;
        if (sinceHook >= kCopyChunkBytes) {
            if (const OsCode code = hook.afterChunk(sinceHook); code != kOsOk) return code;
            sinceHook = 0;
        }
    }
    return sinceHook > 0 ? hook.afterChunk(sinceHook) : kOsOk;
}

// The ranges of the file that hold data, from the start to `size`; none when they cannot be told.
std::optional<std::vector<FILE_ALLOCATED_RANGE_BUFFER>> dataRanges(HANDLE file, LONGLONG size) {
    std::vector<FILE_ALLOCATED_RANGE_BUFFER> ranges;
    FILE_ALLOCATED_RANGE_BUFFER query{};
    query.Length.QuadPart = size;
    FILE_ALLOCATED_RANGE_BUFFER found[64];
    for (;;) {
        DWORD bytes = 0;
        const BOOL done = DeviceIoControl(file, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                                          found, sizeof found, &bytes, nullptr);
        if (!done && GetLastError() != ERROR_MORE_DATA) return std::nullopt;
        const std::size_t count = bytes / sizeof found[0];
        ranges.insert(ranges.end(), found, found + count);
        if (done || count == 0) return ranges;
        const LONGLONG next =
            found[count - 1].FileOffset.QuadPart + found[count - 1].Length.QuadPart;
        query.FileOffset.QuadPart = next;
        query.Length.QuadPart = size - next;
    }
}

OsCode seek(HANDLE file, LONGLONG offset) {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) ? kOsOk : lastError();
}

// Copies only the data ranges of a file with holes into a sparse copy, so a large mostly empty
// file (a disk image, a database) takes no more room in the backup than at home. Where the
// ranges cannot be told or the copy cannot be sparse (FAT), every byte is copied.
OsCode copyContents(HANDLE in, HANDLE out, const BY_HANDLE_FILE_INFORMATION& source,
                    ChunkHook& hook, std::vector<char>& buffer) {
    const LONGLONG size = static_cast<LONGLONG>(
        (static_cast<std::uint64_t>(source.nFileSizeHigh) << 32) | source.nFileSizeLow);
    std::optional<std::vector<FILE_ALLOCATED_RANGE_BUFFER>> ranges;
    if ((source.dwFileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0) ranges = dataRanges(in, size);
    DWORD bytes = 0;
    if (!ranges ||
        !DeviceIoControl(out, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr)) {
        return copySpan(in, out, static_cast<std::uint64_t>(size), hook, buffer);
    }
    for (const FILE_ALLOCATED_RANGE_BUFFER& range : *ranges) {
        const LONGLONG begin = range.FileOffset.QuadPart;
        const LONGLONG end = std::min(size, begin + range.Length.QuadPart);
        if (begin >= end) continue;
        if (const OsCode code = seek(in, begin); code != kOsOk) return code;
        if (const OsCode code = seek(out, begin); code != kOsOk) return code;
        if (const OsCode code =
                copySpan(in, out, static_cast<std::uint64_t>(end - begin), hook, buffer);
            code != kOsOk) {
            return code;
        }
    }
    // The holes between the ranges and at the end stay unwritten.
    if (const OsCode code = seek(out, size); code != kOsOk) return code;
    return SetEndOfFile(out) ? kOsOk : lastError();
}

}  // namespace

// Our own loop rather than CopyFileExW, so the hook is told between chunks on every system;
// the clone and copy-range paths of the context are POSIX ones.
OsCode copyFileData(const std::string& from, const std::string& to, bool syncData, ChunkHook& hook,
                    CopyContext& context) {
    // Shared like a POSIX read: a file another program holds open is backed up too.
    Handle in(CreateFileW(extendedPath(from).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.valid()) return lastError();
    BY_HANDLE_FILE_INFORMATION source{};
    if (!GetFileInformationByHandle(in.get(), &source)) return lastError();

    const std::wstring target = extendedPath(to);
    Handle out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    // An existing `to` is not ours to remove.
    if (!out.valid()) return lastError();

    if (context.buffer.size() != kBufferBytes) context.buffer.resize(kBufferBytes);
    OsCode code = copyContents(in.get(), out.get(), source, hook, context.buffer);
    // The time is set last: a file cut short never carries the source's time, so the next run
    // does not take it for current.
    if (code == kOsOk && !SetFileTime(out.get(), nullptr, nullptr, &source.ftLastWriteTime))
        code = lastError();
    if (code == kOsOk && syncData && !FlushFileBuffers(out.get())) code = lastError();
    const OsCode closed = out.close();
    if (code == kOsOk) code = closed;
    const DWORD attributes = source.dwFileAttributes & kCopiedAttributes;
    if (code == kOsOk && attributes != 0 && !SetFileAttributesW(target.c_str(), attributes) &&
        !attributesRefused(GetLastError())) {
        code = lastError();
    }
    if (code != kOsOk) removeQuietly(to);
    return code;
}

OsCode flushVolume(const std::string&) {
    return kOsOk;
}

}  // namespace vaultrix::fs
