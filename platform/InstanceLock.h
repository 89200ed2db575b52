#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace vaultrix {

// Keeps a second program out of a folder on this computer, by whatever path or link it reaches
// the folder and whatever its environment: the lock is named after the folder's identity on its
// volume (device and inode; volume serial number and file index) in a place every program of the
// computer shares (an abstract socket on Linux, a named mutex of the session on Windows). Nothing
// is written into the folder, so a read-only folder is locked as well, and the system lets go of
// the lock when its holder ends, however it ends.
class InstanceLock {
public:
    enum class Outcome { taken, held, failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Tries once to take the folder's lock: taken, held by another program, or failed (the
    // folder's identity could not be read or the lock not be made; error() says why).
    Outcome tryLock(const std::string& folder);
    void release();
    bool locked() const { return handle_ != kNone; }
    fs::OsCode error() const { return error_; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
    fs::OsCode error_ = fs::kOsOk;
};

// The lock's name for a folder identity: the same for every path to the folder.
std::string instanceLockName(const fs::EntryInfo& folder);

}  // namespace vaultrix
