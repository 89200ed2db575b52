#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vaultrix {

// The leading decimal number of a text: leading blanks and one sign allowed, digits up to the
// first non-digit, 0 when there are none (and clamped to the range of int).
int leadingNumber(std::string_view text);

// Appends the UTF-8 bytes of one character of the Basic Multilingual Plane (below U+10000).
void appendUtf8(std::string& out, char32_t c);

// The text cut to at most maxBytes without splitting a UTF-8 character.
std::string shortenUtf8(const std::string& text, std::size_t maxBytes);

// True when the UTF-8 text holds a line break or another control character: C0, DEL or C1
// (U+0080 … U+009F). None belongs in a name or a path, and a NUL would cut the text short
// wherever it meets the operating system.
bool holdsControlCharacter(std::string_view text);

}  // namespace vaultrix
