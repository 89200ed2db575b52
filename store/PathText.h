#pragma once

#include <filesystem>
#include <string>

namespace vaultrix {

// A path as UTF-8 text for messages (path::string() may throw on Windows for such names).
inline std::string pathText(const std::filesystem::path& path) {
    const auto utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace vaultrix
