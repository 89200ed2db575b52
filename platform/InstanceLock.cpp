#include "platform/InstanceLock.h"

#include <cstdio>

namespace vaultrix {

std::string instanceLockName(const fs::EntryInfo& folder) {
    char name[64];
    std::snprintf(name, sizeof name, "vaultrix-folder-%llx-%llx",
                  static_cast<unsigned long long>(folder.device),
                  static_cast<unsigned long long>(folder.index));
    return name;
}

InstanceLock::~InstanceLock() {
    release();
}

}  // namespace vaultrix
