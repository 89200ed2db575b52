#include "engine/CopyToFolderNames.h"

#include <cstdio>

#include "platform/FileSystem.h"

namespace vaultrix {
namespace {

constexpr const char* kTemporarySuffix = ".vxtmp";
constexpr std::size_t kRandomDigits = 6;
// ".vx" + digits + ".vxtmp"
constexpr std::size_t kTemporaryTail = 3 + kRandomDigits + 6;

bool isLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::string shortenUtf8(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

std::string newCopyName(const std::string& name, bool isFolder, unsigned number) {
    const std::size_t dot = name.rfind('.');
    const bool keepWhole = isFolder || dot == std::string::npos || dot == 0;
    const std::string stem = keepWhole ? name : name.substr(0, dot);
    const std::string extension = keepWhole ? std::string() : name.substr(dot);
    std::string suffix = " - Kopie";
    if (number > 1) suffix += " (" + std::to_string(number) + ")";
    const std::size_t tail = suffix.size() + extension.size();
    const std::size_t room = fs::kMaxNameBytes > tail ? fs::kMaxNameBytes - tail : 1;
    return shortenUtf8(stem, room) + suffix + extension;
}

std::string temporaryName(const std::string& name, std::uint32_t random) {
    char digits[kRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%06x", static_cast<unsigned>(random & 0xFFFFFFu));
    std::string temporary = ".";
    temporary.append(shortenUtf8(name, fs::kMaxNameBytes - 1 - kTemporaryTail));
    temporary.append(".vx").append(digits).append(kTemporarySuffix);
    return temporary;
}

bool isTemporaryName(const std::string& name) {
    if (name.size() < 2 + kTemporaryTail || name[0] != '.') return false;
    const std::size_t tail = name.size() - kTemporaryTail;
    if (name.compare(tail, 3, ".vx") != 0) return false;
    for (std::size_t i = tail + 3; i < tail + 3 + kRandomDigits; ++i) {
        if (!isLowerHex(name[i])) return false;
    }
    return name.compare(tail + 3 + kRandomDigits, std::string::npos, kTemporarySuffix) == 0;
}

}  // namespace vaultrix
