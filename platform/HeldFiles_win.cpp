#include "platform/HeldFiles_win.h"

#include <algorithm>
#include <thread>

namespace vaultrix::fs {
namespace {

constexpr std::chrono::milliseconds kFirstWait{50};
constexpr std::chrono::milliseconds kLongestWait{200};

bool heldCode(OsCode code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
           code == ERROR_ACCESS_DENIED;
}

// Whether another program has the entry open without letting it be deleted or renamed.
bool heldByAnother(const std::wstring& path) {
    const HANDLE handle =
        CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

OsCode renameWhileHeld(const std::function<OsCode()>& rename, const std::wstring& from,
                       const std::wstring& to) {
    OsCode code = rename();
    std::chrono::milliseconds waited{0};
    std::chrono::milliseconds wait = kFirstWait;
    while (heldCode(code) && waited < kHeldFileWait) {
        std::this_thread::sleep_for(wait);
        waited += wait;
        wait = std::min(wait * 2, kLongestWait);
        code = rename();
    }
    if (code == ERROR_ACCESS_DENIED && (heldByAnother(from) || heldByAnother(to)))
        return ERROR_SHARING_VIOLATION;
    return code;
}

}  // namespace vaultrix::fs
