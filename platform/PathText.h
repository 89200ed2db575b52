#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vaultrix::fs {

// A path as UTF-8 text, for messages and for the calls that take text (path::string() may throw
// on Windows for names outside the code page).
std::string pathText(const std::filesystem::path& path);

// The names after a path's root, with "." and ".." resolved by their text alone and joined by
// `separator`. Any character of `separators` divides names. Below a root (`rooted`), ".." never
// climbs above it; a relative path keeps the ".." it cannot resolve.
std::string collapseDots(std::string_view names, std::string_view separators, char separator,
                         bool rooted);

}  // namespace vaultrix::fs
