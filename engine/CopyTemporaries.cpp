#include "engine/CopyTemporaries.h"

#include <chrono>
#include <optional>

#include "platform/FileSystem.h"

namespace vaultrix {

CopyTemporaries::CopyTemporaries()
    : random_(
          static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                     reinterpret_cast<std::uintptr_t>(this))),
      self_(thisProgram()) {}

std::string CopyTemporaries::newName(const std::string& name) {
    std::unique_lock lock(randomMutex_);
    const std::uint32_t tag = random_();
    lock.unlock();
    return temporaryName(name, self_, tag);
}

std::uint64_t CopyTemporaries::clearLeftovers(const std::string& folder) {
    // A folder that cannot be listed is left: writing into it will report the cause.
    if (fs::listFolder(folder, names_) != fs::kOsOk) return 0;
    std::uint64_t removed = 0;
    for (const std::string& name : names_) {
        const std::optional<TemporaryOwner> owner = temporaryOwner(name);
        if (!owner) continue;
        const std::string path = fs::joinPath(folder, name);
        if (!leftBehind(path, *owner, self_)) continue;
        discard(path);
        ++removed;
    }
    return removed;
}

void CopyTemporaries::discard(const std::string& path) {
    static_cast<void>(fs::removeTree(path));
}

}  // namespace vaultrix
