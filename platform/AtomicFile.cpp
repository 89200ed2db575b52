#include "platform/AtomicFile.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace vaultrix {
namespace {

// The process id in the name of a temporary file of `file`, in the form the rewrite gives
// them: "<file>.<process>-<thread>.tmp"; nothing for any other name.
std::optional<std::uint64_t> ownerOf(std::string_view name, std::string_view file) {
    constexpr std::string_view kSuffix = ".tmp";
    if (!name.starts_with(file) || !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    name = name.substr(file.size(), name.size() - file.size() - kSuffix.size());
    const auto dash = name.find('-');
    if (!name.starts_with('.') || dash == std::string_view::npos || dash + 1 == name.size() ||
        name.find_first_not_of("0123456789", dash + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint64_t process = 0;
    const auto [end, error] = std::from_chars(name.data() + 1, name.data() + dash, process);
    if (error != std::errc() || end != name.data() + dash) {
        return std::nullopt;
    }
    return process;
}

}  // namespace

void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> fileNames) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const auto utf8 = it->path().filename().u8string();
        const std::string_view name(reinterpret_cast<const char*>(utf8.data()), utf8.size());
        for (const std::string_view file : fileNames) {
            const auto owner = ownerOf(name, file);
            std::error_code removal;
            if (owner && !processRunning(*owner) && it->is_regular_file(removal)) {
                std::filesystem::remove(it->path(), removal);
            }
        }
    }
}

}  // namespace vaultrix
