#pragma once

#include <string>
#include <string_view>

namespace vaultrix::fs {

// The names after a path's root, with "." and ".." resolved by their text alone and joined by
// `separator`. Any character of `separators` divides names. Below a root (`rooted`), ".." never
// climbs above it; a relative path keeps the ".." it cannot resolve.
std::string collapseDots(std::string_view names, std::string_view separators, char separator,
                         bool rooted);

}  // namespace vaultrix::fs
