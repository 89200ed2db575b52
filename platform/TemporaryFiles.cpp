#include "platform/TemporaryFiles.h"

#include <chrono>
#include <cstdio>

#include "common/Text.h"
#include "platform/FileSystem.h"

namespace vaultrix {
namespace {

constexpr const char* kTemporarySuffix = ".vxtmp";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kRandomDigits = 6;
constexpr std::size_t kHostDigits = 4;
constexpr std::size_t kMaxProcessDigits = 10;
constexpr std::chrono::hours kStaleAfter{24};

bool isLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allLowerHex(const std::string& text, std::size_t begin, std::size_t count) {
    for (std::size_t i = begin; i < begin + count; ++i) {
        if (!isLowerHex(text[i])) return false;
    }
    return true;
}

// The number written in the digits (decimal or lower-case hex), which the caller has checked.
std::uint64_t numberIn(const std::string& text, std::size_t begin, std::size_t end, unsigned base) {
    std::uint64_t number = 0;
    for (std::size_t i = begin; i < end; ++i)
        number = number * base +
                 static_cast<unsigned>(isDigit(text[i]) ? text[i] - '0' : text[i] - 'a' + 10);
    return number;
}

}  // namespace

std::uint16_t hostTag(const std::string& hostName) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : hostName) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return static_cast<std::uint16_t>((hash >> 16) ^ (hash & 0xFFFFu));
}

TemporaryOwner thisProgram() {
    return TemporaryOwner{fs::currentProcessId(), hostTag(fs::hostName())};
}

std::string temporaryName(const std::string& name, const TemporaryOwner& owner,
                          std::uint32_t random) {
    char tail[48];
    std::snprintf(tail, sizeof tail, ".vx%lu-%04x-%06x%s", owner.processId,
                  static_cast<unsigned>(owner.host), static_cast<unsigned>(random & 0xFFFFFFu),
                  kTemporarySuffix);
    const std::string tailText = tail;
    std::string temporary = ".";
    temporary.append(shortenUtf8(name, fs::kMaxNameBytes - 1 - tailText.size()));
    temporary.append(tailText);
    return temporary;
}

std::optional<TemporaryOwner> temporaryOwner(const std::string& name) {
    // Read from the end: suffix, random digits, host tag, process number, ".vx", a name, ".".
    constexpr std::size_t kFixedTail = kSuffixLength + kRandomDigits + 1 + kHostDigits + 1;
    if (name.size() < 1 + 1 + 3 + 1 + kFixedTail || name[0] != '.') return std::nullopt;
    const std::size_t suffix = name.size() - kSuffixLength;
    if (name.compare(suffix, kSuffixLength, kTemporarySuffix) != 0) return std::nullopt;
    const std::size_t random = suffix - kRandomDigits;
    const std::size_t host = random - 1 - kHostDigits;
    if (!allLowerHex(name, random, kRandomDigits) || name[random - 1] != '-' ||
        !allLowerHex(name, host, kHostDigits) || name[host - 1] != '-') {
        return std::nullopt;
    }
    const std::size_t digitsEnd = host - 1;
    std::size_t digits = digitsEnd;
    while (digits > 0 && isDigit(name[digits - 1]) && digitsEnd - digits < kMaxProcessDigits)
        --digits;
    if (digits == digitsEnd || digits < 5 || name.compare(digits - 3, 3, ".vx") != 0)
        return std::nullopt;
    const std::uint64_t processId = numberIn(name, digits, digitsEnd, 10);
    if (processId > 0xFFFFFFFFu) return std::nullopt;  // no system counts its processes further
    return TemporaryOwner{static_cast<unsigned long>(processId),
                          static_cast<std::uint16_t>(numberIn(name, host, host + kHostDigits, 16))};
}

bool leftBehind(const std::string& path, const TemporaryOwner& owner, const TemporaryOwner& self) {
    std::int64_t changed = 0;
    if (fs::changeTime(path, changed) != fs::kOsOk) return false;
    if (owner.host == self.host && !fs::processRunning(owner.processId)) return true;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return now - changed >= std::chrono::nanoseconds(kStaleAfter).count();
}

}  // namespace vaultrix
