#include "platform/FileCopy.h"

#include <vector>

#include "platform/FileSystem_win.h"

// After <windows.h>, which it needs.
#include <winioctl.h>

namespace vaultrix::fs {
namespace {

struct ProgressState {
    ChunkHook& hook;
    std::uint64_t reported = 0;
    OsCode stoppedWith = kOsOk;
};

DWORD CALLBACK onProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER,
                          DWORD, DWORD, HANDLE, HANDLE, LPVOID data) {
    auto& state = *static_cast<ProgressState*>(data);
    const auto done = static_cast<std::uint64_t>(transferred.QuadPart);
    if (done <= state.reported) return PROGRESS_CONTINUE;
    const std::uint64_t chunk = done - state.reported;
    state.reported = done;
    state.stoppedWith = state.hook.afterChunk(chunk);
    return state.stoppedWith == kOsOk ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

// Writes the file's data through to the disk; a read-only copy is opened for that briefly
// without its flag.
OsCode flushToDisk(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    OsCode code = handle == INVALID_HANDLE_VALUE ? static_cast<OsCode>(GetLastError()) : kOsOk;
    if (code == kOsOk && !FlushFileBuffers(handle)) code = static_cast<OsCode>(GetLastError());
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (readOnly) SetFileAttributesW(path.c_str(), attributes);
    return code;
}

// The ranges of the file that hold data, from the start to `size`; empty when they cannot be told.
std::vector<FILE_ALLOCATED_RANGE_BUFFER> dataRanges(HANDLE file, LONGLONG size) {
    std::vector<FILE_ALLOCATED_RANGE_BUFFER> ranges;
    FILE_ALLOCATED_RANGE_BUFFER query{};
    query.Length.QuadPart = size;
    FILE_ALLOCATED_RANGE_BUFFER found[64];
    for (;;) {
        DWORD bytes = 0;
        const BOOL done = DeviceIoControl(file, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query,
                                          found, sizeof found, &bytes, nullptr);
        if (!done && GetLastError() != ERROR_MORE_DATA) return {};
        const std::size_t count = bytes / sizeof found[0];
        ranges.insert(ranges.end(), found, found + count);
        if (done || count == 0) return ranges;
        const LONGLONG next =
            found[count - 1].FileOffset.QuadPart + found[count - 1].Length.QuadPart;
        query.FileOffset.QuadPart = next;
        query.Length.QuadPart = size - next;
    }
}

// CopyFileExW writes the holes of a sparse file out as zeros. Where the source has holes, the
// copy is marked sparse and the same ranges are given back to the disk: one query and one call
// per hole, cheap beside the copy itself. The copy's data stay right if this fails, so a failure
// only costs room.
void keepHoles(const std::wstring& source, const std::wstring& target) {
    const DWORD sourceAttributes = GetFileAttributesW(source.c_str());
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES ||
        (sourceAttributes & FILE_ATTRIBUTE_SPARSE_FILE) == 0) {
        return;
    }
    const HANDLE in = CreateFileW(source.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size{};
    std::vector<FILE_ALLOCATED_RANGE_BUFFER> ranges;
    if (GetFileSizeEx(in, &size)) ranges = dataRanges(in, size.QuadPart);
    CloseHandle(in);
    if (ranges.empty()) return;

    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const HANDLE out = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        FILETIME written{};
        GetFileTime(out, nullptr, nullptr, &written);
        DWORD bytes = 0;
        if (DeviceIoControl(out, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &bytes, nullptr)) {
            LONGLONG holeStart = 0;
            ranges.push_back(FILE_ALLOCATED_RANGE_BUFFER{size, {}});  // the hole at the end
            for (const FILE_ALLOCATED_RANGE_BUFFER& range : ranges) {
                if (range.FileOffset.QuadPart > holeStart) {
                    FILE_ZERO_DATA_INFORMATION hole{};
                    hole.FileOffset.QuadPart = holeStart;
                    hole.BeyondFinalZero.QuadPart = range.FileOffset.QuadPart;
                    DeviceIoControl(out, FSCTL_SET_ZERO_DATA, &hole, sizeof hole, nullptr, 0,
                                    &bytes, nullptr);
                }
                holeStart = range.FileOffset.QuadPart + range.Length.QuadPart;
            }
        }
        // Punching holes counts as writing: the source's time is put back.
        SetFileTime(out, nullptr, nullptr, &written);
        CloseHandle(out);
    }
    if (readOnly) SetFileAttributesW(target.c_str(), attributes);
}

}  // namespace

// CopyFileExW keeps the attributes and the modification time itself and chooses its own
// fast path, so the context is not needed here.
OsCode copyFileData(const std::string& from, const std::string& to, bool syncData, ChunkHook& hook,
                    CopyContext&) {
    const std::wstring source = extendedPath(from);
    const std::wstring target = extendedPath(to);
    ProgressState state{hook};
    BOOL cancel = FALSE;
    if (!CopyFileExW(source.c_str(), target.c_str(), onProgress, &state, &cancel,
                     COPY_FILE_FAIL_IF_EXISTS)) {
        const DWORD error = GetLastError();
        // An existing `to` is not ours to remove.
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return static_cast<OsCode>(error);
        removeQuietly(to);
        return state.stoppedWith != kOsOk ? state.stoppedWith : static_cast<OsCode>(error);
    }
    keepHoles(source, target);
    if (syncData) {
        if (const OsCode code = flushToDisk(target); code != kOsOk) {
            removeQuietly(to);
            return code;
        }
    }
    return kOsOk;
}

}  // namespace vaultrix::fs
