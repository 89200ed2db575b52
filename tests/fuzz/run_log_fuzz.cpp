// The run log over an arbitrary "save.log", checked against the rules done step by step in
// memory: an append adds its record as a section of its own at the end; then, while the log
// is larger than 4200 bytes, what stands before the first record header goes, and then the
// oldest record key by key ("Sicherung=", "Name=", "Verlauf=", its first empty line, its
// header), each step seeing the lines as the previous step's rewrite reads back, until no record
// header is left. The log holds exactly the lines the rules leave, those of a hand-edited log
// that could not be written back as they read made storable ("?" for what Windows-1252 lacks, a
// sequence that would read as another character broken), the new record's alike. No text
// refuses a record: each goes in without control characters, at most 200 characters, and a
// text that is storable and short enough goes in unchanged. A trim that removes nothing leaves the
// file untouched.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "common/Text.h"
#include "engine/RunLog.h"
#include "store/Cp1252.h"
#include "store/KeyedSteps.h"
#include "store/LineList.h"
#include "store/StorableText.h"
#include "support/FakeClock.h"

namespace vaultrix {
namespace {

using fuzz::require;

const std::string kTexts[] = {
    "Daten", "",        "ok",   "gelöscht", "[01.01.2026 00:00:00]",   "Name=x", "a=b",
    "€ ÿ",   "a\nb",    "a\r",  "Ж",        "\n[06.12.2026 19:30:05]", "\r\n",   "Ã¤",
    "â€“ x", "a\u0081", "\xC3", "Fuß–Ball"};

// The bytes the text takes in the file: one per character.
long long storedSize(std::string_view text) {
    long long size = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        size += (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80 ? 1 : 0;
    }
    return size;
}

// A text for a record; sometimes long, so that the log has to be trimmed or the text cut.
std::string textFrom(FuzzedDataProvider& steps) {
    switch (steps.ConsumeIntegralInRange(0, 5)) {
        case 0:
            return std::string(steps.ConsumeIntegralInRange(0, 4400), 'a');
        case 1:
            return std::string(steps.ConsumeIntegralInRange(190, 205), 'a') +
                   fuzz::pick(steps, kTexts);
        case 2:
            return steps.ConsumeRandomLengthString(8);
        default:
            return fuzz::pick(steps, kTexts);
    }
}

// A text as a record takes it: Windows-1252 without control characters, at most 200
// characters, and unchanged when it was so already and reads back.
std::string recordText(const std::string& text) {
    const auto taken = LogFile::recordText(text);
    require(fitsCp1252(taken) && !holdsControlCharacter(taken),
            "a record's text is Windows-1252 without control characters");
    require(storedSize(taken) <= static_cast<long long>(kMaxSetNameLength),
            "a record's text has at most 200 characters");
    if (unstorableReason(text).empty() && storedSize(text) <= 200) {
        require(taken == text, "a storable text goes into its record unchanged");
    }
    return taken;
}

bool isRecordHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
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
            // The lines before the first header go in one rewrite. The lines as read end with an
            // empty line, so from a header on they read back as they are written.
            const auto read = LineList::parse(log.lines().joined()).lines();
            const auto first = std::ranges::find_if(read, isRecordHeader);
            if (first == read.end()) {
                break;
            }
            log = KeyedSteps(LineList(std::vector<std::string>(first, read.end())));
            trimmed = true;
            continue;
        }
        for (const char* key : {"Sicherung=", "Name=", "Verlauf=", ""}) {
            log.deleteEntry(header, key);
        }
        log.deleteSectionHeader(header);
        trimmed = true;
    }
    return trimmed;
}

// A line kept from the log as it is written back: characters Windows-1252 lacks become "?", and
// in a line whose bytes would read as another text, the first character of the first such
// sequence becomes "?".
std::string keptLine(const std::string& line) {
    auto text = decodeCp1252(encodeCp1252Replacing(line, '?'));
    if (const auto lookalike = utf8Lookalike(text)) {
        const auto at = text.find(lookalike->sequence);
        std::size_t end = at + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
        text.replace(at, end - at, "?");
    }
    return text;
}

// The file's bytes for the lines; none when a file cannot hold them so that they read back.
std::optional<std::string> storable(const KeyedSteps& log) {
    std::vector<std::string> lines;
    for (const auto& line : log.lines().lines()) {
        lines.push_back(keptLine(line));
    }
    const auto text = LineList(lines).joined();
    auto bytes = encodeCp1252(text);
    if (!bytes || decodeStoredText(*bytes) != text) {
        return std::nullopt;
    }
    return bytes;
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
        const auto result = textFrom(steps);
        const auto name = textFrom(steps);
        const auto action = textFrom(steps);
        const auto appended = log.AppendRecord(result, name, action);
        expected.appendLines({"[" + formatDate(clock.now()) + " " + formatTime(clock.now()) + "]",
                              "Sicherung=" + recordText(action), "Name=" + recordText(name),
                              "Verlauf=" + recordText(result), ""});
        trimByTheRules(expected);
        const auto bytes = storable(expected);
        require(appended.ok() == bytes.has_value(),
                "a record is refused only when the log cannot be stored so that it reads back");
        require(fuzz::stateOf(file) == (bytes ? fuzz::FileState{true, *bytes} : before),
                "the log holds the lines the rules leave");
    }
    return 0;
}
