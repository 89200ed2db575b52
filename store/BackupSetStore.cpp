#include "store/BackupSetStore.h"

#include <algorithm>
#include <optional>

#include "common/Text.h"
#include "store/Cp1252.h"
#include "store/KeyedIndex.h"
#include "store/KeyedTextFile.h"
#include "store/SettingsStore.h"

namespace vaultrix {
namespace {

constexpr const char* kNamesSection = "[SICHERUNG]";
constexpr const char* kCountSection = "[NUMMER]";
constexpr const char* kCountKey = "wert=";

std::string sectionOf(const std::string& name) {
    return "[" + name + "]";
}
std::string nameKey(int n) {
    return "name_" + std::to_string(n) + "=";
}
std::string sourceKey(int i) {
    return "von_" + std::to_string(i) + "=";
}

Error alreadyStored(const std::string& name) {
    return failure("Eine Sicherung mit dem Namen '" + name + "' ist bereits vorhanden.");
}

Error notStored(const std::string& name) {
    return failure("Die Sicherung '" + name + "' ist nicht mehr vorhanden.");
}

Result<> checkName(const std::string& name) {
    if (name.empty()) {
        return failure("Eine Sicherung braucht einen Namen.");
    }
    if (holdsControlCharacter(name)) {
        return failure(
            "Der Name einer Sicherung darf keinen Zeilenumbruch und kein anderes Steuerzeichen "
            "enthalten.");
    }
    if (!fitsCp1252(name)) {
        return failure("Der Name '" + name + "' enthält Zeichen, die nicht gespeichert werden " +
                       "können.");
    }
    return success();
}

// Everything a set stores must be one line of Windows-1252 text; an empty source would end the
// enumeration of the sources and hide the ones after it.
Result<> checkSet(const BackupSet& set) {
    if (auto name = checkName(set.name); !name) {
        return name;
    }
    std::vector<std::string> texts = set.sources;
    texts.insert(texts.end(), {set.destination, set.day, set.time});
    for (const auto& text : texts) {
        if (holdsControlCharacter(text)) {
            return failure(
                "Quellen, Ziel, Tag und Uhrzeit dürfen keinen Zeilenumbruch und kein anderes "
                "Steuerzeichen enthalten.",
                text);
        }
        if (!fitsCp1252(text)) {
            return failure("Der Text '" + text + "' enthält Zeichen, die nicht gespeichert " +
                               "werden können.",
                           text);
        }
    }
    if (std::ranges::any_of(set.sources, [](const auto& s) { return s.empty(); })) {
        return failure("Eine Quelle darf nicht leer sein.");
    }
    return success();
}

template <typename Reader>
std::vector<std::string> readNames(const Reader& names) {
    std::vector<std::string> result;
    for (int n = 1;; ++n) {
        auto name = names.readValue(kNamesSection, nameKey(n));
        if (name.empty()) {
            return result;
        }
        result.push_back(std::move(name));
    }
}

// The stored values of the set; a missing set or key reads as empty.
template <typename Reader>
BackupSet readSet(const Reader& sets, const std::string& name) {
    const auto section = sectionOf(name);
    BackupSet set;
    set.name = name;
    for (int i = 0;; ++i) {
        auto source = sets.readValue(section, sourceKey(i));
        if (source.empty()) {
            break;
        }
        set.sources.push_back(std::move(source));
    }
    set.destination = sets.readValue(section, "nach=");
    set.day = sets.readValue(section, "wann=");
    set.time = sets.readValue(section, "zeit=");
    set.active = sets.readValue(section, "aktiv=") == "ja";
    return set;
}

// The number of the name entry, 0 when the name is not listed.
int numberOf(const std::vector<std::string>& names, const std::string& name) {
    const auto found = std::ranges::find(names, name);
    return found == names.end() ? 0 : static_cast<int>(found - names.begin()) + 1;
}

// "von_" + decimal digits + "=": a source key, whatever its number.
bool isSourceKey(std::string_view key) {
    constexpr std::string_view prefix = "von_";
    if (key.size() <= prefix.size() + 1 || !key.starts_with(prefix) || !key.ends_with('=')) {
        return false;
    }
    const auto digits = key.substr(prefix.size(), key.size() - prefix.size() - 1);
    return std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; });
}

// Every source line of the section, also those behind a gap in the numbers or a doubled number:
// readers stop at the first gap, so such a line would come back once the gap is filled.
void removeSources(KeyedSteps& sets, const std::string& section) {
    for (const auto& line : sets.sectionLines(section)) {
        if (isSourceKey(keyPrefix(line))) {
            sets.deleteEntry(section, keyPrefix(line));
        }
    }
}

// Removes every line of the section that is not empty, whatever its key, then the separator line
// after them and the header. A line left behind would belong to the section above afterwards.
void removeSection(KeyedSteps& sets, const std::string& section) {
    for (const auto& line : sets.sectionLines(section)) {
        if (!line.empty()) {
            sets.deleteEntry(section, keyPrefix(line));
        }
    }
    sets.deleteEntry(section, "");
    sets.deleteSectionHeader(section);
}

// Every section headed with the set's name, so that none is left to come forward later.
void removeSections(KeyedSteps& sets, const std::string& section) {
    while (sets.hasLine(section)) {
        removeSection(sets, section);
    }
}

// Removes every entry of the name number: a doubled number would otherwise show its second
// name once the first is gone.
void removeName(KeyedSteps& names, int number) {
    const auto key = nameKey(number);
    for (const auto& line : names.sectionLines(kNamesSection)) {
        if (keyPrefix(line) == key) {
            names.deleteEntry(kNamesSection, key);
        }
    }
}

// "wert=" is the number of listed names after every change.
void writeCount(KeyedSteps& names, std::size_t count) {
    if (leadingNumber(names.readValue(kCountSection, kCountKey)) != static_cast<int>(count)) {
        names.writeEntry(kCountSection, kCountKey + std::to_string(count));
    }
}

// Each new key goes directly below the header, so writing the values from the last to the first
// leaves the sources first, "von_0=" on top, then "nach=", "wann=", "zeit=", "aktiv=".
void writeValues(KeyedSteps& sets, const BackupSet& set) {
    const auto section = sectionOf(set.name);
    sets.writeEntry(section, std::string("aktiv=") + (set.active ? "ja" : "nein"));
    sets.writeEntry(section, "zeit=" + set.time);
    sets.writeEntry(section, "wann=" + set.day);
    sets.writeEntry(section, "nach=" + set.destination);
    for (int i = static_cast<int>(set.sources.size()) - 1; i >= 0; --i) {
        sets.writeEntry(section, sourceKey(i) + set.sources[i]);
    }
}

// Both files of the sets, locked and loaded for one change; saved together or not at all.
// "save.ini" is written first: when "savename.ini" cannot be written after it, it is put back,
// so the names never point at sections that are not there (or the other way round).
struct SetFiles {
    static Result<SetFiles> open(const std::filesystem::path& nameFile,
                                 const std::filesystem::path& setFile) {
        auto change = KeyedChange::open({nameFile, setFile});
        if (!change) {
            return change.error();
        }
        KeyedSteps names(change.value().lines(0));
        KeyedSteps sets(change.value().lines(1));
        return SetFiles{std::move(change).value(), std::move(names), std::move(sets)};
    }

    Result<> save() { return change.save({&names.lines(), &sets.lines()}); }

    KeyedChange change;
    KeyedSteps names;
    KeyedSteps sets;
};

// Gives the section of oldName and its name entry the new name; the number stays. A section
// left under the new name by a damaged file (not in the names list) is cleared out first, so
// the set's values never mix with stale ones.
Result<> renameIn(SetFiles& files, const std::string& oldName, const std::string& newName) {
    const auto names = readNames(files.names);
    const int number = numberOf(names, oldName);
    if (number == 0) {
        return notStored(oldName);
    }
    if (newName != oldName) {
        if (numberOf(names, newName) != 0) {
            return alreadyStored(newName);
        }
        removeSections(files.sets, sectionOf(newName));
    }
    files.sets.replaceLine(sectionOf(oldName), sectionOf(newName));
    files.names.writeEntry(kNamesSection, nameKey(number) + newName);
    writeCount(files.names, names.size());
    return success();
}

}  // namespace

BackupSetStore::BackupSetStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path BackupSetStore::setFile() const {
    return folder_ / kSetFileName;
}
std::filesystem::path BackupSetStore::nameFile() const {
    return folder_ / kSetNameFileName;
}

SetNames BackupSetStore::loadSetNames() const {
    auto loaded = KeyedTextFile::load(nameFile());
    const LineList lines = loaded ? std::move(loaded).value() : LineList();
    const KeyedIndex names(lines);
    SetNames result;
    result.count = leadingNumber(names.readValue(kCountSection, kCountKey));
    result.names = readNames(names);
    return result;
}

BackupSet BackupSetStore::loadSet(const std::string& name) const {
    return loadStoredSet(name).set;
}

StoredSet BackupSetStore::loadStoredSet(const std::string& name) const {
    auto loaded = KeyedTextFile::load(setFile());
    const KeyedSteps sets(loaded ? std::move(loaded).value() : LineList());
    return StoredSet{readSet(sets, name), sets.readValue(sectionOf(name), "aktiv="),
                     sets.hasLine(sectionOf(name))};
}

std::vector<BackupSet> BackupSetStore::loadAllSets() const {
    // Both files as one change leaves them: a change holds the same locks, in this order.
    auto nameLock = KeyedTextFile::lock(nameFile());
    auto setLock = KeyedTextFile::lock(setFile());
    const auto names = loadSetNames().names;
    auto loaded = KeyedTextFile::load(setFile());
    const LineList lines = loaded ? std::move(loaded).value() : LineList();
    const KeyedIndex sets(lines);
    std::vector<BackupSet> result;
    result.reserve(names.size());
    for (const auto& name : names) {
        result.push_back(readSet(sets, name));
    }
    return result;
}

Result<> BackupSetStore::saveNewSet(const BackupSet& set) {
    if (auto checked = checkSet(set); !checked) {
        return checked;
    }
    auto opened = SetFiles::open(nameFile(), setFile());
    if (!opened) {
        return opened.error();
    }
    auto& files = opened.value();
    const auto names = readNames(files.names);
    if (numberOf(names, set.name) != 0) {
        return alreadyStored(set.name);
    }
    // The first free number and the true count, whatever "wert=" claimed.
    const int number = static_cast<int>(names.size()) + 1;
    files.names.writeEntry(kNamesSection, nameKey(number) + set.name);
    files.names.writeEntry(kCountSection, kCountKey + std::to_string(number));
    // A name behind the gap that ended the list stays behind one.
    removeName(files.names, number + 1);
    removeSections(files.sets, sectionOf(set.name));
    writeValues(files.sets, set);
    return files.save();
}

Result<> BackupSetStore::saveEditedSet(const std::string& editedSetName, const BackupSet& set) {
    if (auto checked = checkSet(set); !checked) {
        return checked;
    }
    auto opened = SetFiles::open(nameFile(), setFile());
    if (!opened) {
        return opened.error();
    }
    auto& files = opened.value();
    if (auto renamed = renameIn(files, editedSetName, set.name); !renamed) {
        return renamed;
    }
    removeSources(files.sets, sectionOf(set.name));
    writeValues(files.sets, set);
    return files.save();
}

Result<> BackupSetStore::renameStoredSet(const std::string& oldName, const std::string& newName) {
    if (auto checked = checkName(newName); !checked) {
        return checked;
    }
    auto opened = SetFiles::open(nameFile(), setFile());
    if (!opened) {
        return opened.error();
    }
    if (auto renamed = renameIn(opened.value(), oldName, newName); !renamed) {
        return renamed;
    }
    return opened.value().save();
}

Result<> BackupSetStore::deleteStoredSet(const std::string& name) {
    auto opened = SetFiles::open(nameFile(), setFile());
    if (!opened) {
        return opened.error();
    }
    auto& files = opened.value();
    const auto names = readNames(files.names);
    const int number = numberOf(names, name);
    if (number == 0) {
        return notStored(name);
    }
    removeSection(files.sets, sectionOf(name));
    files.names.writeEntry(kCountSection, kCountKey + std::to_string(names.size() - 1));
    removeName(files.names, number);
    // Each later name moves down by one number.
    for (int j = number + 1;; ++j) {
        const auto next = files.names.readValue(kNamesSection, nameKey(j));
        if (next.empty()) {
            removeName(files.names, j - 1);
            break;
        }
        files.names.writeEntry(kNamesSection, nameKey(j - 1) + next);
    }
    return files.save();
}

}  // namespace vaultrix
