#include <windows.h>

#include <string>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/AtomicFileParts.h"
#include "platform/FileSystem.h"
#include "platform/FileSystem_win.h"
#include "platform/HeldFiles_win.h"
#include "platform/PathText.h"
#include "platform/SystemNames.h"

namespace vaultrix {

Result<> replaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const auto resolved = linkTarget(file, ERROR_CANT_RESOLVE_FILENAME);
    if (!resolved) {
        return resolved.error();
    }
    const auto& target = resolved.value();
    // The temporary file is renamed without the "\\?\" prefix, so Windows would clean such a
    // name up and replace another file ("save.ini." would become "save.ini").
    if (const std::string problem = fs::systemNameProblem(fs::pathText(target.filename()));
        !problem.empty()) {
        const std::string name = fs::pathText(file);
        return failure("Die Datei '" + name + "' kann nicht geschrieben werden (" + problem + ")",
                       name);
    }
    const auto temporary = temporaryFileFor(target);
    const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return writeError(file, static_cast<fs::OsCode>(::GetLastError()));
    }
    const bool written = fs::writeAll(handle, bytes) == fs::kOsOk && ::FlushFileBuffers(handle);
    const DWORD writeErrorCode = ::GetLastError();
    const bool closed = ::CloseHandle(handle) != 0;
    if (!written || !closed) {
        const DWORD error = written ? ::GetLastError() : writeErrorCode;
        ::DeleteFileW(temporary.c_str());
        return writeError(file, static_cast<fs::OsCode>(error));
    }
    const fs::OsCode moved = fs::renameWhileHeld(
        [&] {
            return ::MoveFileExW(temporary.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                       ? fs::kOsOk
                       : static_cast<fs::OsCode>(::GetLastError());
        },
        temporary.wstring(), target.wstring());
    if (moved != fs::kOsOk) {
        ::DeleteFileW(temporary.c_str());
        return writeError(file, moved);
    }
    return success();
}

}  // namespace vaultrix
