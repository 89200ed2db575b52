#include "store/Cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/Text.h"

namespace vaultrix {
namespace {

// Characters of the bytes 0x80 … 0x9F; the five undefined bytes keep their own code point.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t characterOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// The next code point of strict UTF-8 (no overlong forms, no surrogates), advancing pos.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < static_cast<std::size_t>(length)) {
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return c;
}

// Where the first character of more than one byte starts; npos when there is none.
std::size_t firstMultiByte(std::string_view bytes) {
    const auto found = std::ranges::find_if(bytes, [](char c) { return (c & 0x80) != 0; });
    return found == bytes.end() ? std::string_view::npos
                                : static_cast<std::size_t>(found - bytes.begin());
}

}  // namespace

std::string decodeCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    // ASCII is the same in both, and copied in runs: a file of megabytes reads in one pass.
    while (!bytes.empty()) {
        const std::size_t ascii = std::min(firstMultiByte(bytes), bytes.size());
        out.append(bytes.substr(0, ascii));
        bytes.remove_prefix(ascii);
        if (!bytes.empty()) {
            appendUtf8(out, characterOf(static_cast<unsigned char>(bytes.front())));
            bytes.remove_prefix(1);
        }
    }
    return out;
}

std::string decodeStoredText(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (!bytes.starts_with(kByteOrderMark)) {
        return takenAsUtf8(bytes) ? std::string(bytes) : decodeCp1252(bytes);
    }
    bytes.remove_prefix(kByteOrderMark.size());
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t start = pos;
        if (nextCodePoint(bytes, pos)) {
            out.append(bytes.substr(start, pos - start));
        } else {
            appendUtf8(out, characterOf(static_cast<unsigned char>(bytes[pos++])));
        }
    }
    return out;
}

std::string decodeStoredBytes(std::string&& bytes) {
    // A byte-order mark is no character of Windows-1252, so marked text is never taken as is.
    if (firstMultiByte(bytes) != std::string_view::npos && !takenAsUtf8(bytes)) {
        return decodeStoredText(std::string_view(bytes));
    }
    return std::move(bytes);
}

bool takenAsUtf8(std::string_view bytes) {
    // Plain ASCII reads the same either way; the check starts at the first byte above 0x7F.
    std::size_t pos = firstMultiByte(bytes);
    if (pos == std::string_view::npos) {
        return false;
    }
    while (pos < bytes.size()) {
        const auto c = nextCodePoint(bytes, pos);
        if (!c || (*c >= 0x80 && (*c <= 0x9F || !byteOf(*c)))) {
            return false;
        }
    }
    return true;
}

std::optional<Utf8Lookalike> utf8Lookalike(std::string_view utf8) {
    const auto bytes = encodeCp1252(utf8);
    if (!bytes || !takenAsUtf8(*bytes)) {
        return std::nullopt;
    }
    const std::string_view stored = *bytes;
    const std::size_t start = firstMultiByte(stored);
    std::size_t end = start;
    nextCodePoint(stored, end);
    const auto sequence = stored.substr(start, end - start);
    return Utf8Lookalike{decodeCp1252(sequence), std::string(sequence)};
}

std::optional<std::string> encodeCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t ascii = std::min(firstMultiByte(utf8.substr(pos)), utf8.size() - pos);
        out.append(utf8.substr(pos, ascii));
        pos += ascii;
        if (pos == utf8.size()) {
            break;
        }
        const auto c = nextCodePoint(utf8, pos);
        if (!c) {
            return std::nullopt;
        }
        const auto byte = byteOf(*c);
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string encodeCp1252Replacing(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto c = nextCodePoint(utf8, pos);
        if (!c) {
            pos = start + 1;
        }
        const auto byte = c ? byteOf(*c) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : replacement;
    }
    return out;
}

bool fitsCp1252(std::string_view utf8) {
    return encodeCp1252(utf8).has_value();
}

}  // namespace vaultrix
