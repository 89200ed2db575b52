#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vaultrix {

// Stored files are Windows-1252; inside the program every text is UTF-8. These two functions
// are the only place where one becomes the other.
//
// Every byte has a character: the five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to U+0081 … U+009D, so any file survives a load and a save unchanged.

// Bytes of a stored file to UTF-8. Never fails.
std::string decodeCp1252(std::string_view bytes);

// Bytes of a stored file to UTF-8, also when a text editor saved the file as UTF-8: a leading
// UTF-8 byte-order mark is dropped, and text that is valid UTF-8 holding multi-byte characters
// is taken as it is; anything else is Windows-1252. Never fails.
std::string decodeStoredText(std::string_view bytes);

// UTF-8 to stored bytes. Empty when the text holds a character Windows-1252 cannot hold,
// or is not valid UTF-8: such a text is refused, never written with replacement characters.
std::optional<std::string> encodeCp1252(std::string_view utf8);

// True when encodeCp1252 would accept the text.
bool fitsCp1252(std::string_view utf8);

}  // namespace vaultrix
