#include <windows.h>

#include "platform/FileSystem_win.h"
#include "platform/InstanceLock.h"

namespace vaultrix {

InstanceLock::Outcome InstanceLock::tryLock(const std::string& folder) {
    release();
    fs::EntryInfo identity;
    error_ = fs::statEntry(fs::normalisePath(folder), identity, true);
    if (error_ == fs::kOsOk && identity.kind == fs::EntryKind::Missing)
        error_ = ERROR_PATH_NOT_FOUND;
    if (error_ != fs::kOsOk) return Outcome::failed;

    // A named mutex of the session: every program of the user's desktop sees it, and the
    // system removes it when its last handle closes, also when the process is ended by force.
    const std::wstring name = L"Local\\" + fs::toWide(instanceLockName(identity));
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex == nullptr) {
        error_ = static_cast<fs::OsCode>(GetLastError());
        return Outcome::failed;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Outcome::held;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    return Outcome::taken;
}

void InstanceLock::release() {
    if (handle_ == kNone) return;
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = kNone;
}

}  // namespace vaultrix
