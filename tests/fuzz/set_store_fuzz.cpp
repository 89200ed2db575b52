// The set store over arbitrary "savename.ini" and "save.ini". After every change: the names
// list reads exactly as the change says and "wert=" agrees with it, a saved set reads back
// exactly as saved, every listed name that found its section before still finds it (a saved
// set's name always does), no text line outside the changed sections differs, and a refused
// change leaves both files byte-identical.
//
// Files are read as UTF-8 when they start with a byte-order mark or their bytes look like UTF-8
// text, and always written as Windows-1252; what is written must read back as written. So a
// change is refused when a line it keeps cannot be stored again, and may be refused when a line
// of a hand-edited file would read back as another text once stored.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "store/BackupSetStore.h"
#include "store/Cp1252.h"
#include "store/LineList.h"

namespace vaultrix {
namespace {

using fuzz::require;

const std::string kGoodNames[] = {"Daten", "X",        "Y",         "u",
                                  "A",     "Neu",      "SICHERUNG", "Tag",
                                  "ä",     "Fuß–Ball", "Ã¤ß",       std::string(200, 'n')};
const std::string kBadNames[] = {
    "",   "a\nb", std::string("a\0b", 3), "a\tb", "Ж", "a\u0081", "a\r",
    "Ã¤", "â€“",  std::string(201, 'n')};
const std::string kGoodPaths[] = {"/",   "/a",  "/old2", "C:\\Daten", "D:\\Bücher",
                                  "[X]", "x=y", " ",     "von_0=/",   "C:\\Spaß–Fotos"};
const std::string kBadPaths[] = {"", "/a\n", std::string("/a\0b", 4), "/Ж", "\x7F", "/MÃ¼ller"};
const std::string kDays[] = {"täglich", "Montag", "Sonnabend", ""};
const std::string kTimes[] = {"18:30", "", "69", "00:00"};

// A text with what the store must make of it: true when it may be stored, false when it must be
// refused, unknown for a name taken from the files.
struct Text {
    std::string text;
    std::optional<bool> valid;
};

template <std::size_t G, std::size_t B>
Text textFrom(FuzzedDataProvider& steps, const std::string (&good)[G],
              const std::string (&bad)[B]) {
    if (steps.ConsumeIntegralInRange(0, 3) == 0) {
        return {fuzz::pick(steps, bad), false};
    }
    return {fuzz::pick(steps, good), true};
}

// Whether a name may be stored, as far as the pools tell.
std::optional<bool> validity(const std::string& name) {
    if (std::ranges::find(kGoodNames, name) != std::end(kGoodNames)) {
        return true;
    }
    if (std::ranges::find(kBadNames, name) != std::end(kBadNames)) {
        return false;
    }
    return std::nullopt;
}

// A listed name (whatever its text) or one from the pools.
Text nameFrom(FuzzedDataProvider& steps, const std::vector<std::string>& listed) {
    if (!listed.empty() && steps.ConsumeBool()) {
        const auto& name = listed[steps.ConsumeIntegralInRange<std::size_t>(0, listed.size() - 1)];
        return {name, validity(name)};
    }
    return textFrom(steps, kGoodNames, kBadNames);
}

std::optional<bool> allOf(std::optional<bool> a, std::optional<bool> b) {
    if (a == false || b == false) {
        return false;
    }
    return a == true && b == true ? std::optional<bool>(true) : std::nullopt;
}

struct Candidate {
    BackupSet set;
    std::optional<bool> valid;
};

Candidate setFrom(FuzzedDataProvider& steps, const Text& name) {
    Candidate c{BackupSet{}, name.valid};
    c.set.name = name.text;
    const int sources = steps.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < sources; ++i) {
        const auto source = textFrom(steps, kGoodPaths, kBadPaths);
        c.set.sources.push_back(source.text);
        c.valid = allOf(c.valid, source.valid);
    }
    // An empty destination may be stored; an empty source may not.
    const auto destination = textFrom(steps, kGoodPaths, kBadPaths);
    c.set.destination = destination.text;
    c.valid =
        allOf(c.valid, destination.text.empty() ? std::optional<bool>(true) : destination.valid);
    c.set.day = fuzz::pick(steps, kDays);
    c.set.time = fuzz::pick(steps, kTimes);
    c.set.active = steps.ConsumeBool();
    return c;
}

// The text lines of a file by section ("" for those above the first header). Empty lines only
// separate sections, so they are left out.
using Sections = std::vector<std::pair<std::string, std::vector<std::string>>>;
Sections sectionsOf(const std::string& text) {
    Sections sections{{"", {}}};
    const auto lines = LineList::parse(text);
    for (const auto& line : lines.lines()) {
        if (line.starts_with('[')) {
            sections.push_back({line, {}});
        } else if (!line.empty()) {
            sections.back().second.push_back(line);
        }
    }
    return sections;
}

// The sections as the store reads them, leaving out the sections a change may touch.
Sections outside(const fuzz::FileState& state, const std::set<std::string>& changed) {
    auto sections = sectionsOf(decodeStoredText(state.bytes));
    std::erase_if(sections, [&](const auto& s) { return changed.contains(s.first); });
    return sections;
}

bool hasSection(const fuzz::FileState& sets, const std::string& name) {
    const auto sections = sectionsOf(decodeStoredText(sets.bytes));
    return std::ranges::any_of(sections,
                               [&](const auto& s) { return s.first == "[" + name + "]"; });
}

// Whether every line of the file as read can be stored again: false when one outside the changed
// sections cannot hold Windows-1252 (the change keeps it), unknown when only lines inside them
// cannot, or when a line would read back as another text once stored (whether it does depends on
// the file's other lines).
std::optional<bool> storableAgain(const fuzz::FileState& state,
                                  const std::set<std::string>& changed) {
    // A line reads back alone unless its bytes look like UTF-8 or like a byte-order mark.
    const auto readsBack = [](const std::string& line) {
        return !utf8Lookalike(line) && !line.starts_with("ï»¿");
    };
    std::optional<bool> storable = true;
    for (const auto& [header, lines] : sectionsOf(decodeStoredText(state.bytes))) {
        const bool kept = !changed.contains(header);
        const bool fits = fitsCp1252(header) &&
                          std::ranges::all_of(lines, [](const auto& l) { return fitsCp1252(l); });
        if (!fits && kept) {
            return false;
        }
        if (!fits || !readsBack(header) || !std::ranges::all_of(lines, readsBack)) {
            storable = std::nullopt;
        }
    }
    return storable;
}

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::ranges::find(names, name) != names.end();
}

// Refused for a reason the names list gives, or as the texts' validity says.
std::optional<bool> refusedFor(bool listReason, std::optional<bool> valid) {
    if (listReason || valid == false) {
        return true;
    }
    return valid == true ? std::optional<bool>(false) : std::nullopt;
}

}  // namespace
}  // namespace vaultrix

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vaultrix;
    const auto input = fuzz::splitInput(data, size, 2);
    const auto nameFile = fuzz::scratch() / kSetNameFileName;
    const auto setFile = fuzz::scratch() / kSetFileName;
    fuzz::placeFile(nameFile, input.files[0]);
    fuzz::placeFile(setFile, input.files[1]);
    BackupSetStore store(fuzz::scratch());

    FuzzedDataProvider steps(reinterpret_cast<const std::uint8_t*>(input.steps.data()),
                             input.steps.size());
    for (int step = 0; step < 8 && steps.remaining_bytes() > 0; ++step) {
        const auto namesBefore = fuzz::stateOf(nameFile);
        const auto setsBefore = fuzz::stateOf(setFile);
        const auto before = store.loadSetNames().names;
        auto expected = before;
        // Per expected name: whether it must find its section after the change, and which name
        // the change is about.
        std::vector<bool> sectioned;
        for (const auto& name : before) {
            sectioned.push_back(hasSection(setsBefore, name));
        }
        std::optional<std::size_t> subject;
        std::set<std::string> changed;
        std::optional<BackupSet> readsBack;
        bool listReason = false;
        std::optional<bool> valid = true;
        Result<> result = success();

        switch (steps.ConsumeIntegralInRange(0, 3)) {
            case 0: {
                const auto c = setFrom(steps, nameFrom(steps, {}));
                result = store.saveNewSet(c.set);
                listReason = listed(before, c.set.name);
                valid = c.valid;
                expected.push_back(c.set.name);
                sectioned.push_back(true);
                subject = expected.size() - 1;
                changed = {"[" + c.set.name + "]"};
                readsBack = c.set;
                break;
            }
            case 1:
            case 2: {
                const auto old = nameFrom(steps, before).text;
                const auto name =
                    steps.ConsumeBool() ? Text{old, validity(old)} : nameFrom(steps, {});
                listReason =
                    !listed(before, old) || (name.text != old && listed(before, name.text));
                const auto found = std::ranges::find(expected, old);
                if (found != expected.end()) {
                    *found = name.text;
                    subject = static_cast<std::size_t>(found - expected.begin());
                }
                changed = {"[" + old + "]", "[" + name.text + "]"};
                if (steps.ConsumeBool()) {
                    const auto c = setFrom(steps, name);
                    result = store.saveEditedSet(old, c.set);
                    valid = c.valid;
                    readsBack = c.set;
                    if (subject) {
                        sectioned[*subject] = true;
                    }
                } else {
                    auto renamed = store.loadSet(old);
                    renamed.name = name.text;
                    result = store.renameStoredSet(old, name.text);
                    valid = name.valid;
                    readsBack = renamed;
                }
                break;
            }
            default: {
                const auto name = nameFrom(steps, before).text;
                result = store.deleteStoredSet(name);
                listReason = !listed(before, name);
                if (const auto found = std::ranges::find(expected, name); found != expected.end()) {
                    sectioned.erase(sectioned.begin() + (found - expected.begin()));
                    expected.erase(found);
                }
                changed = {"[" + name + "]"};
                break;
            }
        }

        const std::set<std::string> namesSections = {"[SICHERUNG]", "[NUMMER]"};
        const auto storable =
            allOf(storableAgain(namesBefore, namesSections), storableAgain(setsBefore, changed));
        if (const auto refusal = refusedFor(listReason, allOf(valid, storable))) {
            require(result.ok() != *refusal,
                    "refused exactly when the texts, the list or the lines kept say so");
        }
        if (!result) {
            require(fuzz::stateOf(nameFile) == namesBefore && fuzz::stateOf(setFile) == setsBefore,
                    "a refused change leaves both files byte-identical");
            continue;
        }
        const auto namesAfter = fuzz::stateOf(nameFile);
        const auto setsAfter = fuzz::stateOf(setFile);
        const auto after = store.loadSetNames();
        require(after.count == static_cast<int>(after.names.size()), "names and count agree");
        require(after.names == expected, "the names list reads exactly as the change says");
        for (std::size_t i = 0; i < expected.size(); ++i) {
            // A name listed twice shares its section with the name the change is about.
            const bool shared = i != subject && changed.contains("[" + expected[i] + "]");
            require(!sectioned[i] || shared || hasSection(setsAfter, expected[i]),
                    "a listed name finds its section");
        }
        if (readsBack) {
            require(store.loadSet(readsBack->name) == *readsBack,
                    "the set reads back exactly as saved");
        }
        require(outside(namesBefore, namesSections) == outside(namesAfter, namesSections),
                "no line outside the names sections differs");
        require(outside(setsBefore, changed) == outside(setsAfter, changed),
                "no line outside the set's sections differs");
    }
    return 0;
}
