#include "common/NameFolding.h"

#include <cstdint>

#include "common/Text.h"

namespace vaultrix {
namespace {

// Pairs side by side, upper at the even (or odd) code point, its lower one after it.
bool inPairs(char32_t c, char32_t first, char32_t last, bool upperEven) {
    return c >= first && c <= last && ((c % 2 == 1) == upperEven);
}

char32_t upper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c < 0xE0) return c;
    // Latin-1: à … þ without ÷; ÿ's partner lives in Latin Extended-A.
    if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
    if (c == 0xFF) return 0x178;
    // Latin Extended-A. The dotless ı and the long ſ keep their shape: the file systems leave
    // them, since their upper letters are another letter's too.
    if (inPairs(c, 0x100, 0x12F, true) || inPairs(c, 0x132, 0x137, true) ||
        inPairs(c, 0x139, 0x148, false) || inPairs(c, 0x14A, 0x177, true) ||
        inPairs(c, 0x179, 0x17E, false)) {
        return c - 1;
    }
    // Greek, with the final sigma and the accented vowels.
    if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 0x20;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    // Cyrillic: а … я, ѐ … џ, and the historic and non-Russian letters in pairs.
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if (inPairs(c, 0x460, 0x481, true) || inPairs(c, 0x48A, 0x4BF, true) ||
        inPairs(c, 0x4C1, 0x4CE, false) || inPairs(c, 0x4D0, 0x52F, true)) {
        return c - 1;
    }
    if (c == 0x4CF) return 0x4C0;
    return c;
}

// The code point at `at` and its length in bytes; length 0 for a byte that starts none.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::size_t size = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        size = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        size = 3;
        c = lead & 0x0F;
    } else {
        return 0;  // four-byte characters have no partners we fold
    }
    if (at + size > text.size()) return 0;
    for (std::size_t i = 1; i < size; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if ((size == 2 && c < 0x80) || (size == 3 && c < 0x800)) return 0;  // overlong
    length = size;
    return c;
}

}  // namespace

std::string foldedName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        std::size_t length = 0;
        const char32_t c = decode(name, at, length);
        if (length == 0) {
            folded += name[at++];
            continue;
        }
        appendUtf8(folded, upper(c));
        at += length;
    }
    return folded;
}

}  // namespace vaultrix
