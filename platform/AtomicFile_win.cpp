#include <windows.h>

#include <string>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/FileSystem_win.h"
#include "platform/PathText.h"

namespace vaultrix {
namespace {

Error writeError(const std::filesystem::path& file, DWORD error) {
    const auto reason = fs::osErrorReason(static_cast<fs::OsCode>(error));
    const std::string name = fs::pathText(file);
    return failure("Die Datei '" + name + "' kann nicht geschrieben werden (" + reason + ").",
                   name);
}

// The file a write of `file` lands in: the end of its chain of symbolic links (which need not
// exist yet), so a data file that is a link keeps being a link and its target gets the text.
Result<std::filesystem::path> linkTarget(const std::filesystem::path& file) {
    constexpr int kMaxLinks = 40;
    std::filesystem::path target = file;
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) {
            return target;
        }
        const auto next = std::filesystem::read_symlink(target, error);
        if (error) {
            return writeError(file, static_cast<DWORD>(error.value()));
        }
        // A relative link is relative to its own folder; an absolute one replaces the path.
        target = target.parent_path() / next;
    }
    return writeError(file, ERROR_CANT_RESOLVE_FILENAME);
}

}  // namespace

Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const auto resolved = linkTarget(file);
    if (!resolved) {
        return resolved.error();
    }
    const auto& target = resolved.value();
    const auto temporary = temporaryFileFor(target);
    const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return writeError(file, ::GetLastError());
    }
    const bool written = fs::writeAll(handle, bytes) == fs::kOsOk && ::FlushFileBuffers(handle);
    const DWORD writeErrorCode = ::GetLastError();
    const bool closed = ::CloseHandle(handle) != 0;
    if (!written || !closed) {
        const DWORD error = written ? ::GetLastError() : writeErrorCode;
        ::DeleteFileW(temporary.c_str());
        return writeError(file, error);
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return writeError(file, error);
    }
    return success();
}

}  // namespace vaultrix
