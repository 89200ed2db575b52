// Keyed-file operations on a real file, checked against the same steps done in memory: every
// result and every byte written agree, what is written reads back exactly, and a write that
// cannot be stored so (a line feed, a text Windows-1252 cannot hold, bytes that would read as
// other text) is refused and leaves the file as it was. Besides, every text the store's checks
// take, written alone into a fresh file, reads back exactly.
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "store/Cp1252.h"
#include "store/KeyedSteps.h"
#include "store/KeyedTextFile.h"
#include "store/LineList.h"
#include "store/StorableText.h"

namespace vaultrix {
namespace {

using fuzz::require;

const std::string kSections[] = {"[A]", "[B]", "[a]",   "[A] ", "[",   "[]",
                                 "",    "A",   "[A]\n", "[Ж]",  "[Ä]", "[Ã¤]"};
const std::string kEntries[] = {
    "k=",  "k=1",  "k=7", "m=2",    "",  "k",     "name_1=", "name_10=A", "a=b=c", "x\r", "Müll",
    "[B]", "k=\n", "Ж=1", "k=\xC3", "=", "Name=", "name=x",  "k=Ã¤",      "k=â€“", "k=ä"};

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

// The bytes of the lines the steps wrote last; none when a file cannot hold them so that they
// read back as written.
std::optional<std::string> storable(const KeyedSteps& model) {
    const std::string text = model.lines().joined();
    for (const auto& line : model.lines().lines()) {
        if (line.find('\n') != std::string::npos) {
            return std::nullopt;
        }
    }
    auto bytes = encodeCp1252(text);
    if (!bytes || decodeStoredText(*bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

// A text the store takes, as a section and an entry of a file of its own, reads back exactly.
void requireRoundTrip(const std::string& text) {
    if (!unstorableReason(text).empty()) {
        return;
    }
    const auto file = fuzz::scratch() / "alone.ini";
    fuzz::placeFile(file, "");
    const std::string section = "[" + text + "]";
    require(KeyedTextFile::writeEntry(file, section, "k=" + text).ok(),
            "a text the store takes is written");
    require(KeyedTextFile::readValue(file, section, "k=") == text,
            "a text the store takes reads back exactly");
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
        switch (steps.ConsumeIntegralInRange(0, 5)) {
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
            case 4:
                written = KeyedTextFile::replaceLine(file, section, key);
                next.replaceLine(section, key);
                break;
            default:
                requireRoundTrip(section);
                requireRoundTrip(key);
                continue;
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
        auto reread = KeyedTextFile::load(file);
        require(
            reread.ok() && reread.value().lines() == LineList::parse(next.lines().joined()).lines(),
            "the lines written read back exactly");
        model = KeyedSteps(std::move(reread).value());
    }
    return 0;
}
