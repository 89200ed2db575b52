#include "platform/AtomicFile.h"
#include "platform/AtomicFileParts.h"

#include <chrono>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/PathText.h"
#include "platform/TemporaryFiles.h"

namespace vaultrix {

Error writeError(const std::filesystem::path& file, fs::OsCode error) {
    const std::string name = fs::pathText(file);
    return failure("Die Datei '" + name + "' kann nicht geschrieben werden (" +
                       fs::osErrorReason(error) + ").",
                   name);
}

Result<std::filesystem::path> linkTarget(const std::filesystem::path& file,
                                         fs::OsCode tooManyLinks) {
    constexpr int kMaxLinks = 40;
    std::filesystem::path target = file;
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(target, error)) {
            return target;
        }
        const auto next = std::filesystem::read_symlink(target, error);
        if (error) {
            return writeError(file, error.value());
        }
        // A relative link is relative to its own folder; an absolute one replaces the path.
        target = target.parent_path() / next;
    }
    return writeError(file, tooManyLinks);
}

std::filesystem::path temporaryFileFor(const std::filesystem::path& file) {
    // Writes of one file are serialised, so the thread and the moment tell every writer apart.
    const auto random = static_cast<std::uint32_t>(
        std::hash<std::thread::id>{}(std::this_thread::get_id()) ^
        static_cast<std::size_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const std::string name = temporaryName(fs::pathText(file.filename()), thisProgram(), random);
    return file.parent_path() / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::span<const std::string_view> fileNames) {
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
