#include "store/LogFile.h"

#include <algorithm>
#include <string_view>

#include "common/Text.h"
#include "store/Cp1252.h"
#include "store/KeyedTextFile.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

bool isSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The bytes a line takes in the file: one per character in Windows-1252.
long long storedSize(std::string_view line) {
    return std::ranges::count_if(line, [](char c) { return (c & 0xC0) != 0x80; });
}

// The log's lines while it is trimmed: views into the loaded text and the new record.
using LogLines = std::vector<std::string_view>;

// Removes the oldest records from the front until the log fits. The outcome is that of removing
// each record through the keyed file, key by key ("Sicherung=", "Name=", "Verlauf=", the first
// empty line of the record, then its header), each step seeing the lines as the previous step's
// rewrite reads back; but the lines are passed once, so a log of any size is trimmed in linear
// time. Lines before the first section header are removed before it; without a header left the
// trim stops, so a damaged log never loops forever.
// `rewritten` tells that the lines are as a rewrite (the append) left them, not as loaded.
// Returns whether anything was removed.
bool trimLines(LogLines& lines, bool rewritten) {
    std::size_t front = 0;
    long long count = static_cast<long long>(lines.size());
    long long bytes = 0;
    for (const auto line : lines) {
        bytes += storedSize(line);
    }
    const auto fileSize = [&] { return count == 0 ? 0 : bytes + 2 * (count - 1); };
    bool trimmed = false;
    while (fileSize() > kLogSizeLimit) {
        // A rewrite reads back without a leading empty line; loaded lines were read already.
        const bool skip = (rewritten || trimmed) && front < lines.size() && lines[front].empty();
        const std::size_t first = skip ? front + 1 : front;
        if (first < lines.size() && !isSectionHeader(lines[first])) {
            // What stands before the first record goes first, in one step, so a damaged log is
            // trimmed like any other.
            const auto header = std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                             lines.end(), isSectionHeader);
            if (header == lines.end()) {
                break;
            }
            const auto next = static_cast<std::size_t>(header - lines.begin());
            for (std::size_t i = front; i < next; ++i) {
                bytes -= storedSize(lines[i]);
            }
            count -= static_cast<long long>(next - front);
            front = next;
            trimmed = true;
            continue;
        }
        if (first >= lines.size()) {
            break;
        }
        count -= static_cast<long long>(first - front);
        front = first;
        // ... and with a final empty line after a last line that has no line end.
        if (!lines.back().empty()) {
            lines.emplace_back();
            ++count;
        }
        std::size_t end = first + 1;
        while (end < lines.size() && !lines[end].starts_with('[')) {
            ++end;
        }
        LogLines record(lines.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                        lines.begin() + static_cast<std::ptrdiff_t>(end));
        for (const std::string_view key : {"Sicherung=", "Name=", "Verlauf=", ""}) {
            const auto found =
                std::ranges::find_if(record, [&](auto line) { return keyPrefix(line) == key; });
            if (found != record.end()) {
                bytes -= storedSize(*found);
                --count;
                record.erase(found);
            }
        }
        if (end == lines.size() && (record.empty() || !record.back().empty())) {
            record.emplace_back();
            ++count;
        }
        // The header goes; what is left of the record stays in front of the next one.
        bytes -= storedSize(lines[first]);
        --count;
        front = end - record.size();
        std::ranges::copy(record, lines.begin() + static_cast<std::ptrdiff_t>(front));
        trimmed = true;
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(front));
    return trimmed;
}

constexpr char kReplacement = '?';

// Stored bytes that read back as they are: when they would be taken as UTF-8, their first byte
// above 0x7F (where the first such character starts) becomes "?", which leaves the rest invalid
// UTF-8.
std::string breakUtf8Lookalike(std::string bytes) {
    if (takenAsUtf8(bytes)) {
        *std::ranges::find_if(bytes, [](char c) { return (c & 0x80) != 0; }) = kReplacement;
    }
    return bytes;
}

// A line of the log as it can be written back so that it reads back as written: characters
// Windows-1252 lacks become "?", and a sequence that would read back as another character is
// broken. A line that can is left as it is.
std::string storableLine(std::string_view line) {
    return decodeCp1252(breakUtf8Lookalike(encodeCp1252Replacing(line, kReplacement)));
}

// The record's lines, as the log holds them.
std::vector<std::string> recordLines(const LogRecord& record) {
    // Built by appends: g++ 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
    std::string header = "[";
    header += formatDate(record.time);
    header += ' ';
    header += formatTime(record.time);
    header += ']';
    return {header, "Sicherung=" + LogFile::recordText(record.action),
            "Name=" + LogFile::recordText(record.name),
            "Verlauf=" + LogFile::recordText(record.result), ""};
}

LineList toLineList(const LogLines& lines) {
    std::vector<std::string> storable;
    storable.reserve(lines.size());
    for (const auto line : lines) {
        storable.push_back(storableLine(line));
    }
    return LineList(std::move(storable));
}

}  // namespace

std::string LogFile::recordText(std::string_view text) {
    std::string bytes = encodeCp1252Replacing(text, kReplacement);
    for (char& byte : bytes) {
        if (holdsControlCharacter(decodeCp1252(std::string_view(&byte, 1)))) {
            byte = kReplacement;
        }
    }
    if (bytes.size() > kMaxSetNameLength) {
        bytes.resize(kMaxSetNameLength - 1);
        bytes += '\x85';  // "…"
    }
    return decodeCp1252(bytes);
}

LogFile::LogFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path LogFile::file() const {
    return folder_ / kLogFileName;
}

// Every record becomes a section of its own at the end, also when an earlier record has the
// same header (two runs in one second), so no record's values are overwritten. The record and
// the trim are one rewrite of the file.
Result<> LogFile::append(const LogRecord& record) {
    auto opened = KeyedChange::open({file()});
    if (!opened) {
        return opened.error();
    }
    const std::vector<std::string> added = recordLines(record);
    LogLines lines = LineList::parseViews(opened.value().text(0));
    lines.insert(lines.end(), added.begin(), added.end());
    trimLines(lines, true);
    const LineList trimmed = toLineList(lines);
    return opened.value().save({&trimmed});
}

Result<> LogFile::trim() {
    auto opened = KeyedChange::open({file()});
    if (!opened) {
        return opened.error();
    }
    LogLines lines = LineList::parseViews(opened.value().text(0));
    if (!trimLines(lines, false)) {
        return success();
    }
    const LineList trimmed = toLineList(lines);
    return opened.value().save({&trimmed});
}

LogText LogFile::loadEnd(std::uintmax_t maxBytes) const {
    const auto end = KeyedTextFile::readTextEnd(file(), maxBytes);
    if (!end) {
        return {};
    }
    LogText shown{{}, end.value().fileSize, end.value().shortened};
    const std::string& text = end.value().text;
    shown.text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        shown.text += text[i];
    }
    return shown;
}

Result<> LogFile::remove() {
    return KeyedTextFile::remove(file());
}

}  // namespace vaultrix
