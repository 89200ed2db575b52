#include "engine/RunLog.h"

#include "store/Cp1252.h"
#include "store/KeyedTextFile.h"

namespace vaultrix {
namespace {

bool isSectionHeader(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

long long fileSize(const LineList& lines) {
    const auto text = lines.joined();
    const auto bytes = encodeCp1252(text);
    return static_cast<long long>(bytes ? bytes->size() : text.size());
}

// Removes the oldest record, key by key as the format allows, until the log fits. Stops at a
// first line that is no section header or a record of which nothing could be removed, so a
// damaged log never makes this loop forever. Returns whether anything was removed.
bool trimLines(KeyedSteps& log) {
    bool trimmed = false;
    while (fileSize(log.lines()) > kLogSizeLimit) {
        const auto header = log.firstLine();
        if (!isSectionHeader(header)) {
            break;
        }
        bool removed = false;
        for (const char* key : {"Sicherung=", "Name=", "Verlauf=", ""}) {
            removed = log.deleteEntry(header, key) == Removal::removed || removed;
        }
        removed = log.deleteSectionHeader(header) == Removal::removed || removed;
        if (!removed) {
            break;
        }
        trimmed = true;
    }
    return trimmed;
}

// Checked before any step, so the outcome does not depend on whether the log gets trimmed: a
// line break would forge record lines, and a text Windows-1252 cannot hold is never stored.
Result<> checkRecordText(const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos) {
        return failure("Ein Eintrag der Log Datei darf keinen Zeilenumbruch enthalten.", text);
    }
    if (!fitsCp1252(text)) {
        return failure(
            "Der Text '" + text + "' enthält Zeichen, die nicht gespeichert werden können.", text);
    }
    return success();
}

std::string recordHeader(const LocalTime& t) {
    // Built by appends: g++ 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
    std::string header = "[";
    header += formatDate(t);
    header += ' ';
    header += formatTime(t);
    header += ']';
    return header;
}

}  // namespace

RunLog::RunLog(std::filesystem::path folder, const Clock& clock)
    : folder_(std::move(folder)), clock_(clock) {}

std::filesystem::path RunLog::file() const {
    return folder_ / kLogFileName;
}

// Every record becomes a section of its own at the end, also when an earlier record has the
// same header (two runs in one second), so no record's values are overwritten. The record and
// the trim are one rewrite of the file.
Result<> RunLog::AppendRecord(const std::string& result, const std::string& name,
                              const std::string& action) {
    for (const auto* text : {&result, &name, &action}) {
        if (auto checked = checkRecordText(*text); !checked) {
            return checked;
        }
    }
    auto held = KeyedTextFile::lock(file());
    auto loaded = KeyedTextFile::load(file());
    if (!loaded) {
        return loaded.error();
    }
    KeyedSteps log(std::move(loaded).value());
    log.appendLines({recordHeader(clock_.now()), "Sicherung=" + action, "Name=" + name,
                     "Verlauf=" + result, ""});
    trimLines(log);
    return KeyedTextFile::save(file(), log.lines());
}

Result<> RunLog::TrimLog() {
    auto held = KeyedTextFile::lock(file());
    auto loaded = KeyedTextFile::load(file());
    if (!loaded) {
        return loaded.error();
    }
    KeyedSteps log(std::move(loaded).value());
    if (!trimLines(log)) {
        return success();
    }
    return KeyedTextFile::save(file(), log.lines());
}

std::string RunLog::LoadLogText() const {
    const auto text = KeyedTextFile::readText(file());
    if (!text) {
        return {};
    }
    std::string shown;
    shown.reserve(text.value().size());
    for (std::size_t i = 0; i < text.value().size(); ++i) {
        const char c = text.value()[i];
        if (c == '\r' && i + 1 < text.value().size() && text.value()[i + 1] == '\n') {
            continue;
        }
        shown += c;
    }
    return shown;
}

Result<> RunLog::DeleteLog() {
    return KeyedTextFile::remove(file());
}

}  // namespace vaultrix
