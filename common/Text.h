#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vaultrix {

// The leading decimal number of a text: leading blanks and one sign allowed, digits up to the
// first non-digit, 0 when there are none (and clamped to the range of int).
int leadingNumber(std::string_view text);

// The text cut to at most maxBytes without splitting a UTF-8 character.
std::string shortenUtf8(const std::string& text, std::size_t maxBytes);

}  // namespace vaultrix
