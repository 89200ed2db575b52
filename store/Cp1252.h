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

// Bytes of a stored file to UTF-8, also when a text editor saved the file as UTF-8. After a
// UTF-8 byte-order mark (which is dropped) the bytes are UTF-8, and a byte that starts no valid
// character there is read as its Windows-1252 character, so no byte is lost. Without a mark the
// bytes are UTF-8 when takenAsUtf8 says so, else Windows-1252. Never fails.
std::string decodeStoredText(std::string_view bytes);
// The same for bytes read into a string of their own, which keeps its memory where the bytes
// read unchanged (plain ASCII, UTF-8): a file of megabytes is not copied again.
std::string decodeStoredBytes(std::string&& bytes);

// Whether bytes without a byte-order mark are read as UTF-8: they are valid UTF-8, hold at least
// one multi-byte character, and each of those is a printable character Windows-1252 holds (not
// U+0080 … U+009F). Text saved as UTF-8 with umlauts, "ß", "€", "„“", "–" or "é" is; the
// program's own Windows-1252 bytes are only when they look like such text misread, such as
// "Ã¤" (C3 A4, which is "ä" in UTF-8).
bool takenAsUtf8(std::string_view bytes);

// A text whose Windows-1252 bytes are taken as UTF-8 reads back as another text, so it cannot be
// stored. Its first character sequence that reads as one other character ("Ã¤" reads as "ä");
// none when the text reads back as it is. In a file each stored text stands between ASCII
// (keys, brackets, line ends), so a file of texts that each read back reads back whole.
struct Utf8Lookalike {
    std::string sequence;
    std::string readAs;
};
std::optional<Utf8Lookalike> utf8Lookalike(std::string_view utf8);

// UTF-8 to stored bytes. Empty when the text holds a character Windows-1252 cannot hold,
// or is not valid UTF-8: such a text is refused, never written with replacement characters.
std::optional<std::string> encodeCp1252(std::string_view utf8);

// UTF-8 to stored bytes for a text that must be stored whatever it holds: each character
// Windows-1252 cannot hold, and each byte that starts no valid character, becomes `replacement`.
std::string encodeCp1252Replacing(std::string_view utf8, char replacement);

// True when encodeCp1252 would accept the text.
bool fitsCp1252(std::string_view utf8);

}  // namespace vaultrix
