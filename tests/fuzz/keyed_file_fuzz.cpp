// Keyed-file operations on a real file, checked against the same steps done in memory: every
// result and every byte written agree, and a write that cannot be stored (a line feed, a text
// Windows-1252 cannot hold) is refused and leaves the file as it was. Each operation reads the
// file as it stands: as UTF-8 when its bytes are valid UTF-8 with a multi-byte character or
// start with a byte-order mark, so Windows-1252 text that happens to look like UTF-8 reads back
// as UTF-8 after a write.
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "store/Cp1252.h"
#include "store/KeyedSteps.h"
#include "store/KeyedTextFile.h"
#include "store/LineList.h"

namespace vaultrix {
namespace {

using fuzz::require;

const std::string kSections[] = {"[A]", "[B]", "[a]",   "[A] ", "[",  "[]",
                                 "",    "A",   "[A]\n", "[Ж]",  "[Ä]"};
const std::string kEntries[] = {"k=",      "k=1",       "k=7",    "m=2", "",      "k",
                                "name_1=", "name_10=A", "a=b=c",  "x\r", "Müll",  "[B]",
                                "k=\n",    "Ж=1",       "k=\xC3", "=",   "Name=", "name=x"};

// A text from the pool, or a short one from the input: as raw bytes (maybe not UTF-8) or as
// stored bytes read back.
template <std::size_t N>
std::string textFrom(FuzzedDataProvider& steps, const std::string (&pool)[N]) {
    switch (steps.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return steps.ConsumeRandomLengthString(8);
        case 1:
            return decodeCp1252(steps.ConsumeRandomLengthString(8));
        default:
            return fuzz::pick(steps, pool);
    }
}

// The bytes of the lines the steps wrote last; none when a file cannot hold them.
std::optional<std::string> storable(const KeyedSteps& model) {
    for (const auto& line : model.lines().lines()) {
        if (line.find('\n') != std::string::npos) {
            return std::nullopt;
        }
    }
    return encodeCp1252(model.lines().joined());
}

Result<> outcome(const Result<Removal>& removal, Removal expected) {
    if (!removal) {
        return removal.error();
    }
    require(removal.value() == expected, "the removal result agrees with the steps");
    return success();
}

}  // namespace
}  // namespace vaultrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultrix;
    const auto input = fuzz::splitInput(data, size, 1);
    const auto file = fuzz::scratch() / "x.ini";
    fuzz::placeFile(file, input.files[0]);
    auto loaded = KeyedTextFile::load(file);
    require(loaded.ok(), "an existing file loads");
    KeyedSteps model(std::move(loaded).value());

    FuzzedDataProvider steps(reinterpret_cast<const std::uint8_t*>(input.steps.data()),
                             input.steps.size());
    while (steps.remaining_bytes() > 0) {
        const auto before = fuzz::stateOf(file);
        const auto section = textFrom(steps, kSections);
        const auto key = textFrom(steps, kEntries);
        KeyedSteps next = model;
        Result<> written = success();
        switch (steps.ConsumeIntegralInRange(0, 4)) {
            case 0:
                require(
                    KeyedTextFile::readValue(file, section, key) == model.readValue(section, key),
                    "readValue agrees with the steps");
                require(fuzz::stateOf(file) == before, "a read changes nothing");
                continue;
            case 1:
                written = KeyedTextFile::writeEntry(file, section, key);
                next.writeEntry(section, key);
                break;
            case 2:
                written = outcome(KeyedTextFile::deleteEntry(file, section, key),
                                  next.deleteEntry(section, key));
                break;
            case 3:
                written = outcome(KeyedTextFile::deleteSectionHeader(file, section),
                                  next.deleteSectionHeader(section));
                break;
            default:
                written = KeyedTextFile::replaceLine(file, section, key);
                next.replaceLine(section, key);
                break;
        }
        const auto bytes = storable(next);
        if (!bytes) {
            require(!written.ok(), "lines a file cannot hold are refused");
            require(fuzz::stateOf(file) == before, "a refused write leaves the file as it was");
            continue;
        }
        require(written.ok(), "lines a file can hold are written");
        require(fuzz::stateOf(file) == fuzz::FileState{true, *bytes},
                "the file holds the lines the steps wrote");
        model = KeyedSteps(LineList::parse(decodeStoredText(*bytes)));
    }
    return 0;
}
