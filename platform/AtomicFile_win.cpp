#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace vaultrix {
namespace {

Error writeError(const std::filesystem::path& file, DWORD error) {
    const auto reason = fs::osErrorReason(static_cast<fs::OsCode>(error));
    const auto utf8 = file.u8string();
    const std::string name(utf8.begin(), utf8.end());
    return failure("Die Datei '" + name + "' kann nicht geschrieben werden (" + reason + ").",
                   name);
}

// Unique among the writers running at one time: each thread of each process has its own name.
std::filesystem::path temporaryNameFor(const std::filesystem::path& file) {
    const auto thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    return file.parent_path() /
           (file.filename().wstring() + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(thread) + L".tmp");
}

bool writeAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const auto temporary = temporaryNameFor(file);
    const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return writeError(file, ::GetLastError());
    }
    const bool written = writeAll(handle, bytes) && ::FlushFileBuffers(handle);
    const DWORD writeErrorCode = ::GetLastError();
    const bool closed = ::CloseHandle(handle) != 0;
    if (!written || !closed) {
        const DWORD error = written ? ::GetLastError() : writeErrorCode;
        ::DeleteFileW(temporary.c_str());
        return writeError(file, error);
    }
    if (!::MoveFileExW(temporary.c_str(), file.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return writeError(file, error);
    }
    return success();
}

}  // namespace vaultrix
