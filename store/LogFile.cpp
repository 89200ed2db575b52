#include "store/LogFile.h"

#include <algorithm>
#include <string_view>

#include "store/Cp1252.h"
#include "store/KeyedTextFile.h"

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
// time. Stops at a first line that is no section header, so a damaged log never loops forever.
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
        if (first >= lines.size() || !isSectionHeader(lines[first])) {
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

LineList toLineList(const LogLines& lines) {
    return LineList(std::vector<std::string>(lines.begin(), lines.end()));
}

}  // namespace

Result<> LogFile::checkText(const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        return failure("Ein Eintrag der Log Datei darf keinen Zeilenumbruch enthalten.", text);
    }
    if (!fitsCp1252(text)) {
        return failure(
            "Der Text '" + text + "' enthält Zeichen, die nicht gespeichert werden können.", text);
    }
    return success();
}

LogFile::LogFile(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path LogFile::file() const {
    return folder_ / kLogFileName;
}

// Every record becomes a section of its own at the end, also when an earlier record has the
// same header (two runs in one second), so no record's values are overwritten. The record and
// the trim are one rewrite of the file.
Result<> LogFile::append(const std::vector<std::string>& record) {
    auto opened = KeyedChange::open({file()});
    if (!opened) {
        return opened.error();
    }
    LogLines lines = LineList::parseViews(opened.value().text(0));
    lines.insert(lines.end(), record.begin(), record.end());
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
