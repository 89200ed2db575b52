// The run log over an arbitrary "save.log", checked against the rules done step by step in
// memory: an append adds its record as a section of its own at the end; then, while the log
// is larger than 4200 bytes, the oldest record goes key by key ("Sicherung=", "Name=",
// "Verlauf=", its first empty line, its header), each step seeing the lines as the previous
// step's rewrite reads back, until the first line is no record header. The log holds exactly
// the lines the rules leave. An append is refused, and the log stays byte-identical, exactly
// when a text holds a line break or a character Windows-1252 lacks, or when the lines left
// cannot be stored (a log read as UTF-8 may hold such characters); a trim that removes nothing
// leaves the file untouched.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "engine/RunLog.h"
#include "store/Cp1252.h"
#include "store/KeyedSteps.h"
#include "store/LineList.h"
#include "support/FakeClock.h"

namespace vaultrix {
namespace {

using fuzz::require;

const std::string kGoodTexts[] = {"Daten",  "",    "ok", "gelöscht", "[01.01.2026 00:00:00]",
                                  "Name=x", "a=b", "€ ÿ"};
const std::string kBadTexts[] = {"a\nb", "a\r", "Ж", "\n[06.12.2026 19:30:05]", "\r\n"};

// A text and whether the log may take it; sometimes long, so that the log has to be trimmed.
std::pair<std::string, bool> textFrom(FuzzedDataProvider& steps) {
    switch (steps.ConsumeIntegralInRange(0, 5)) {
        case 0:
            return {fuzz::pick(steps, kBadTexts), false};
        case 1:
            return {std::string(steps.ConsumeIntegralInRange(0, 4400), 'a'), true};
        default:
            return {fuzz::pick(steps, kGoodTexts), true};
    }
}

bool isRecordHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The bytes the text takes in the file: one per character.
long long storedSize(std::string_view text) {
    long long size = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        size += (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80 ? 1 : 0;
    }
    return size;
}

// The log as loaded from its bytes.
KeyedSteps loaded(const fuzz::FileState& log) {
    return KeyedSteps(LineList::parse(decodeStoredText(log.bytes)));
}

// Removes the oldest records by the rules; true when anything was removed.
bool trimByTheRules(KeyedSteps& log) {
    bool trimmed = false;
    while (storedSize(log.lines().joined()) > kLogSizeLimit) {
        const auto header = log.firstLine();
        if (!isRecordHeader(header)) {
            break;
        }
        for (const char* key : {"Sicherung=", "Name=", "Verlauf=", ""}) {
            log.deleteEntry(header, key);
        }
        log.deleteSectionHeader(header);
        trimmed = true;
    }
    return trimmed;
}

// The file's bytes for the lines; none when a file cannot hold them.
std::optional<std::string> storable(const KeyedSteps& log) {
    for (const auto& line : log.lines().lines()) {
        if (line.find('\n') != std::string::npos) {
            return std::nullopt;
        }
    }
    return encodeCp1252(log.lines().joined());
}

}  // namespace
}  // namespace vaultrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultrix;
    const auto input = fuzz::splitInput(data, size, 1);
    const auto file = fuzz::scratch() / kLogFileName;
    fuzz::placeFile(file, input.files[0]);
    FuzzedDataProvider steps(reinterpret_cast<const std::uint8_t*>(input.steps.data()),
                             input.steps.size());
    test::FakeClock clock;
    RunLog log(fuzz::scratch(), clock);

    for (int step = 0; step < 8 && steps.remaining_bytes() > 0; ++step) {
        // Few distinct seconds, so that records share their header now and then.
        clock.set(test::at(1, 1, 2026, 0, 0, steps.ConsumeIntegralInRange(0, 2), 4));
        const auto before = fuzz::stateOf(file);
        auto expected = loaded(before);
        if (steps.ConsumeBool()) {
            const auto trimmed = log.TrimLog();
            if (!trimByTheRules(expected)) {
                require(trimmed.ok(), "a trim that removes nothing succeeds");
                require(fuzz::stateOf(file) == before,
                        "a trim that removes nothing writes nothing");
                continue;
            }
            const auto bytes = storable(expected);
            require(trimmed.ok() == bytes.has_value(),
                    "a trim fails exactly when its lines cannot be stored");
            require(fuzz::stateOf(file) == (bytes ? fuzz::FileState{true, *bytes} : before),
                    "the trim leaves the lines the rules leave");
            continue;
        }
        const auto [result, resultValid] = textFrom(steps);
        const auto [name, nameValid] = textFrom(steps);
        const auto [action, actionValid] = textFrom(steps);
        const auto appended = log.AppendRecord(result, name, action);
        std::optional<std::string> bytes;
        if (resultValid && nameValid && actionValid) {
            expected.appendLines(
                {"[" + formatDate(clock.now()) + " " + formatTime(clock.now()) + "]",
                 "Sicherung=" + action, "Name=" + name, "Verlauf=" + result, ""});
            trimByTheRules(expected);
            bytes = storable(expected);
        }
        require(appended.ok() == bytes.has_value(),
                "refused exactly a line break, a text Windows-1252 lacks or a log it cannot store");
        require(fuzz::stateOf(file) == (bytes ? fuzz::FileState{true, *bytes} : before),
                "the log holds the lines the rules leave");
    }
    return 0;
}
