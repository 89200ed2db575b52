#include "platform/FileCopy.h"

#include "platform/FileSystem_win.h"

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
    if (syncData) {
        if (const OsCode code = flushToDisk(target); code != kOsOk) {
            removeQuietly(to);
            return code;
        }
    }
    return kOsOk;
}

}  // namespace vaultrix::fs
