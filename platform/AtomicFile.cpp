#include "platform/AtomicFile.h"

#include <chrono>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/PathText.h"
#include "platform/TemporaryFiles.h"

namespace vaultrix {

std::filesystem::path temporaryFileFor(const std::filesystem::path& file) {
    // Writes of one file are serialised, so the thread and the moment tell every writer apart.
    const auto random = static_cast<std::uint32_t>(
        std::hash<std::thread::id>{}(std::this_thread::get_id()) ^
        static_cast<std::size_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::string name = temporaryName(fs::pathText(file.filename()), thisProgram(), random);
    return file.parent_path() / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> fileNames) {
    const TemporaryOwner self = thisProgram();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = fs::pathText(it->path().filename());
        const auto owner = temporaryOwner(name);
        if (!owner) continue;
        for (const std::string_view file : fileNames) {
            const std::string prefix = "." + std::string(file) + ".vx";
            std::error_code removal;
            if (name.starts_with(prefix) && it->is_regular_file(removal) &&
                leftBehind(fs::pathText(it->path()), *owner, self)) {
                std::filesystem::remove(it->path(), removal);
            }
        }
    }
}

}  // namespace vaultrix
