// The run log over an arbitrary "save.log": appends and trims end, a refused append leaves the
// file byte-identical, an accepted one ends the log with its record, and afterwards the log
// fits in 4200 bytes unless its first line is no record header.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/RunLog.h"
#include "store/Cp1252.h"
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

bool isRecordHeader(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The log fits, or the trim had to stop at a first line that is no record header. Measured as
// the trim measures: the lines as a load gives them, written back.
bool trimmedAsFarAsItCan(const fuzz::FileState& log) {
    const auto lines = LineList::parse(decodeCp1252(log.bytes));
    return encodeCp1252(lines.joined())->size() <= static_cast<std::size_t>(kLogSizeLimit) ||
           !isRecordHeader(lines.lineAt(1));
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
        if (steps.ConsumeBool()) {
            require(log.TrimLog().ok(), "a trim never fails on a readable log");
            require(trimmedAsFarAsItCan(fuzz::stateOf(file)), "the trim goes as far as it can");
            continue;
        }
        const auto [result, resultValid] = textFrom(steps);
        const auto [name, nameValid] = textFrom(steps);
        const auto [action, actionValid] = textFrom(steps);
        const bool valid = resultValid && nameValid && actionValid;
        const auto appended = log.AppendRecord(result, name, action);
        require(appended.ok() == valid,
                "refused exactly a line break or a text Windows-1252 lacks");
        const auto after = fuzz::stateOf(file);
        if (!appended) {
            require(after == before, "a refused append leaves the log byte-identical");
            continue;
        }
        require(trimmedAsFarAsItCan(after), "the append trims as far as it can");
        const auto record = *encodeCp1252("[" + formatDate(clock.now()) + " " +
                                          formatTime(clock.now()) + "]\r\nSicherung=" + action +
                                          "\r\nName=" + name + "\r\nVerlauf=" + result + "\r\n");
        if (record.size() <= static_cast<std::size_t>(kLogSizeLimit)) {
            require(after.bytes.ends_with(record), "the log ends with the new record");
        }
    }
    return 0;
}
