#include "store/BackupSetStore.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "common/Text.h"
#include "platform/PathText.h"
#include "store/KeyedIndex.h"
#include "store/KeyedTextFile.h"
#include "store/SettingsStore.h"
#include "store/StorableText.h"

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

// Everything a set stores must be one line of text that reads back exactly; an empty source
// would end the enumeration of the sources and hide the ones after it.
Result<> checkSet(const BackupSet& set) {
    if (auto name = checkSetName(set.name); !name) {
        return name;
    }
    std::vector<std::string> texts = set.sources;
    texts.insert(texts.end(), {set.destination, set.day, set.time});
    for (const auto& text : texts) {
        if (const auto reason = unstorableReason(text); !reason.empty()) {
            return failure("Der Text '" + text + "' " + reason, text);
        }
    }
    if (std::ranges::any_of(set.sources, [](const auto& s) { return s.empty(); })) {
        return failure("Eine Quelle darf nicht leer sein.");
    }
    return success();
}

// The name entries of the names section's lines, each number found at its first entry as
// readValue finds it, in one pass: with thousands of names, one search per number would take
// seconds.
template <class Line>
class NameEntries {
public:
    explicit NameEntries(const std::vector<Line>& lines) : lines_(lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            first_.try_emplace(keyPrefix(lines[i]), i);
        }
    }
    // Empty when the number has no entry.
    std::string_view name(int number) const {
        const auto key = nameKey(number);
        const auto found = first_.find(key);
        return found == first_.end() ? std::string_view()
                                     : std::string_view(lines_[found->second]).substr(key.size());
    }
    // The line of the number's first entry; only for a number that has one.
    std::size_t line(int number) const { return first_.at(nameKey(number)); }
    // The names from `from` on, up to the first number without one.
    std::vector<std::string> from(int number) const {
        const auto names = viewsFrom(number);
        return {names.begin(), names.end()};
    }
    // The same as views into the lines.
    std::vector<std::string_view> viewsFrom(int number) const {
        std::vector<std::string_view> names;
        for (auto name = this->name(number); !name.empty(); name = this->name(++number)) {
            names.push_back(name);
        }
        return names;
    }

private:
    const std::vector<Line>& lines_;
    std::unordered_map<std::string_view, std::size_t> first_;
};

// The lines below the section's first header up to the next line that starts with '['.
std::vector<std::string_view> sectionViews(const std::vector<std::string_view>& lines,
                                           std::string_view section) {
    auto line = std::ranges::find(lines, section);
    if (line == lines.end()) {
        return {};
    }
    const auto end = std::find_if(++line, lines.end(), [](auto l) { return l.starts_with('['); });
    return {line, end};
}

std::vector<std::string> readNames(const KeyedSteps& names) {
    return NameEntries(names.sectionLines(kNamesSection)).from(1);
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

// Removes name number `number` and moves each later name down by one number, in one pass over
// the names section. It leaves what these single steps leave (but for empty lines at the very
// start of the file, which each rewrite reads one fewer of): every entry of the number goes; for
// each later number j, up to the first one without a name, the name j is written under j - 1
// (the first of these directly below the header, the others in place of the first entry of
// j - 1); then every entry of the last number goes.
void closeGap(KeyedSteps& names, int number) {
    names.editSection(kNamesSection, [number](std::vector<std::string>& lines) {
        std::vector<std::string> later;  // the names number + 1 … last
        std::vector<std::size_t> moved;  // the first lines of number + 1 … last - 1
        {
            const NameEntries entries(lines);
            later = entries.from(number + 1);
            for (std::size_t i = 1; i < later.size(); ++i) {
                moved.push_back(entries.line(number + static_cast<int>(i)));
            }
        }
        const int last = number + static_cast<int>(later.size());
        for (std::size_t i = 0; i < moved.size(); ++i) {
            lines[moved[i]] = nameKey(number + 1 + static_cast<int>(i)) + later[i + 1];
        }
        std::erase_if(lines, [&](const std::string& line) {
            const auto key = keyPrefix(line);
            return key == nameKey(number) || key == nameKey(last);
        });
        if (!later.empty()) {
            lines.insert(lines.begin(), nameKey(number) + later.front());
        }
    });
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

// Lists the names as numbers 1 … in place of the entries of the numbers 1 … `before`, the
// newest directly below the header, as the program writes them, and counts them.
void listNames(KeyedSteps& names, std::size_t before, const std::vector<std::string>& listed) {
    names.editSection(kNamesSection, [&](std::vector<std::string>& lines) {
        std::unordered_set<std::string> replaced;
        for (std::size_t n = 1; n <= before; ++n) {
            replaced.insert(nameKey(static_cast<int>(n)));
        }
        std::erase_if(lines, [&](const std::string& line) {
            return replaced.contains(std::string(keyPrefix(line)));
        });
        std::vector<std::string> entries;
        for (auto n = listed.size(); n > 0; --n) {
            entries.push_back(nameKey(static_cast<int>(n)) + listed[n - 1]);
        }
        lines.insert(lines.begin(), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    });
    writeCount(names, listed.size());
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

// Both files of the sets, locked and loaded for one change. The change replaces them one at a
// time, in the order its operation needs, and calls the hook after each. When a write fails,
// the files written before it are put back, the last written first, so a crash while putting
// back leaves what the steps in the other direction would have left.
struct SetFiles {
    static Result<SetFiles> open(const std::filesystem::path& nameFile,
                                 const std::filesystem::path& setFile,
                                 const BackupSetStore::FileStepHook& hook) {
        auto change = KeyedChange::open({nameFile, setFile});
        if (!change) {
            return change.error();
        }
        return from(std::move(change).value(), hook);
    }
    // The files of a change opened on the names file and the set file, in this order.
    static SetFiles from(KeyedChange change, const BackupSetStore::FileStepHook& hook) {
        KeyedSteps names(change.lines(kNames));
        KeyedSteps sets(change.lines(kSets));
        return SetFiles{std::move(change), std::move(names), std::move(sets), hook};
    }

    // A new set, or an edit under the same name: its section is complete before its name is
    // listed (or its names list rewritten as it was).
    Result<> saveSetsFirst() {
        if (auto written = write(kSets, sets.lines()); !written) {
            return written;
        }
        return write(kNames, names.lines());
    }
    // A deletion: the name is off the list before its section goes.
    Result<> saveNamesFirst() {
        if (auto written = write(kNames, names.lines()); !written) {
            return written;
        }
        return write(kSets, sets.lines());
    }
    // A rename: the set's section under the new name is added beside the old one, then the new
    // name takes the old one's number, then the old section goes. So either name finds its
    // section at every moment in which it is listed.
    Result<> saveRenamed(const std::string& newName) {
        const auto section = sectionOf(newName);
        if (!sets.hasLine(section)) {
            return saveNamesFirst();
        }
        KeyedSteps both(change.lines(kSets));
        removeSections(both, section);
        auto lines = sets.sectionLines(section);
        while (!lines.empty() && lines.back().empty()) {
            lines.pop_back();
        }
        both.appendLines({section});
        both.editSection(section, [&lines](std::vector<std::string>& added) { added = lines; });
        if (auto written = write(kSets, both.lines()); !written) {
            return written;
        }
        return saveNamesFirst();
    }

    static constexpr std::size_t kNames = 0;
    static constexpr std::size_t kSets = 1;

    // One file step. A file is written also when its text stays the same, so both files are
    // always stored alike (in Windows-1252) after a change.
    Result<> write(std::size_t file, const LineList& lines) {
        if (auto written = change.write(file, lines); !written) {
            return written;
        }
        const auto& path = change.path(file);
        switch (hook ? hook(path) : AfterFileStep::proceed) {
            case AfterFileStep::proceed:
                return success();
            case AfterFileStep::stop:
                return failure("Die Änderung wurde nach dem Schreiben der Datei angehalten.",
                               fs::pathText(path));
            case AfterFileStep::fail:
                change.undo();
                return failure("Die Datei kann nicht geschrieben werden.", fs::pathText(path));
        }
        return success();
    }

    KeyedChange change;
    KeyedSteps names;
    KeyedSteps sets;
    BackupSetStore::FileStepHook hook;
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

// One change of the sets: refused when its check failed, else its steps run on both files,
// locked and loaded.
template <typename Steps>
Result<> change(const Result<>& checked, const std::filesystem::path& nameFile,
                const std::filesystem::path& setFile, const BackupSetStore::FileStepHook& hook,
                Steps steps) {
    if (!checked) {
        return checked;
    }
    auto opened = SetFiles::open(nameFile, setFile, hook);
    if (!opened) {
        return opened.error();
    }
    return steps(opened.value());
}

}  // namespace

BackupSetStore::BackupSetStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path BackupSetStore::setFile() const {
    return folder_ / kSetFileName;
}
std::filesystem::path BackupSetStore::nameFile() const {
    return folder_ / kSetNameFileName;
}

namespace {

// The file's text as read; empty when it is missing or cannot be read.
std::string textOf(const std::filesystem::path& file) {
    auto text = KeyedTextFile::readText(file);
    return text ? std::move(text).value() : std::string();
}

SetNames namesIn(const KeyedIndex& names) {
    return SetNames{NameEntries(names.sectionLines(kNamesSection)).from(1),
                    leadingNumber(names.readValue(kCountSection, kCountKey))};
}

}  // namespace

SetNames BackupSetStore::loadSetNames() const {
    return namesIn(KeyedIndex(textOf(nameFile())));
}

BackupSet BackupSetStore::loadSet(const std::string& name) const {
    return loadStoredSet(name).set;
}

StoredSet BackupSetStore::loadStoredSet(const std::string& name) const {
    const KeyedIndex sets(textOf(setFile()));
    return StoredSet{readSet(sets, name), sets.readValue(sectionOf(name), "aktiv="),
                     sets.hasSection(sectionOf(name))};
}

std::vector<BackupSet> BackupSetStore::loadAllSets() const {
    // Both files as one change leaves them: a change holds the same locks, in this order.
    auto nameLock = KeyedTextFile::lock(nameFile());
    auto setLock = KeyedTextFile::lock(setFile());
    const auto names = loadSetNames().names;
    const KeyedIndex sets(textOf(setFile()));
    std::vector<BackupSet> result;
    result.reserve(names.size());
    for (const auto& name : names) {
        result.push_back(readSet(sets, name));
    }
    return result;
}

void BackupSetStore::setFileStepHook(FileStepHook hook) {
    hook_ = std::move(hook);
}

Result<> BackupSetStore::saveNewSet(const BackupSet& set) {
    return change(checkSet(set), nameFile(), setFile(), hook_, [&](SetFiles& files) -> Result<> {
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
        return files.saveSetsFirst();
    });
}

Result<> BackupSetStore::saveEditedSet(const std::string& editedSetName, const BackupSet& set) {
    return change(checkSet(set), nameFile(), setFile(), hook_, [&](SetFiles& files) -> Result<> {
        if (auto renamed = renameIn(files, editedSetName, set.name); !renamed) {
            return renamed;
        }
        removeSources(files.sets, sectionOf(set.name));
        writeValues(files.sets, set);
        return set.name == editedSetName ? files.saveSetsFirst() : files.saveRenamed(set.name);
    });
}

Result<> BackupSetStore::renameStoredSet(const std::string& oldName, const std::string& newName) {
    return change(
        checkSetName(newName), nameFile(), setFile(), hook_, [&](SetFiles& files) -> Result<> {
            if (auto renamed = renameIn(files, oldName, newName); !renamed) {
                return renamed;
            }
            return newName == oldName ? files.saveSetsFirst() : files.saveRenamed(newName);
        });
}

Result<> BackupSetStore::deleteStoredSet(const std::string& name) {
    return change(success(), nameFile(), setFile(), hook_, [&](SetFiles& files) -> Result<> {
        const auto names = readNames(files.names);
        const int number = numberOf(names, name);
        if (number == 0) {
            return notStored(name);
        }
        removeSection(files.sets, sectionOf(name));
        files.names.writeEntry(kCountSection, kCountKey + std::to_string(names.size() - 1));
        closeGap(files.names, number);
        return files.saveNamesFirst();
    });
}

Result<SetRepair> BackupSetStore::repairSetFiles() {
    auto opened = KeyedChange::open({nameFile(), setFile()});
    if (!opened) {
        return opened.error();
    }
    // Found on the texts as read, without a copy of their lines or names: mostly nothing
    // disagrees.
    const auto nameLines = LineList::parseViews(opened.value().text(SetFiles::kNames));
    const auto setLines = LineList::parseViews(opened.value().text(SetFiles::kSets));
    const auto entries = sectionViews(nameLines, kNamesSection);
    const auto listed = NameEntries(entries).viewsFrom(1);
    // Every name an entry holds, also behind a gap in the numbers: such a name's section is no
    // leftover of a change.
    std::unordered_set<std::string_view> named;
    for (const auto line : entries) {
        if (const auto key = keyPrefix(line); key.starts_with("name_") && key.ends_with('=')) {
            named.insert(line.substr(key.size()));
        }
    }
    std::unordered_set<std::string_view> sectioned;
    std::vector<std::string_view> unlisted;  // in the order of the file
    for (const auto line : setLines) {
        if (line.size() >= 2 && line.starts_with('[') && line.ends_with(']')) {
            const auto name = line.substr(1, line.size() - 2);
            if (sectioned.insert(name).second && !named.contains(name)) {
                unlisted.push_back(name);
            }
        }
    }
    const auto whole = [&](std::string_view name) { return sectioned.contains(name); };
    // A change leaves one such section at most; more are no leftovers of a crash (a lost names
    // file, a hand's work) and keep what they hold.
    if (std::ranges::all_of(listed, whole) && unlisted.size() != 1) {
        return SetRepair{};
    }

    SetRepair repair;
    std::vector<std::string> kept;
    auto adoptable = unlisted.begin();
    for (const auto name : listed) {
        if (whole(name)) {
            kept.emplace_back(name);
        } else if (adoptable != unlisted.end()) {
            repair.restored.emplace_back(name, *adoptable);
            kept.emplace_back(*adoptable++);
        } else {
            repair.dropped.emplace_back(name);
        }
    }
    if (unlisted.end() - adoptable == 1) {
        repair.removed.emplace_back(*adoptable);
    }
    const bool relisted = !repair.dropped.empty() || !repair.restored.empty();
    const auto before = listed.size();

    auto files = SetFiles::from(std::move(opened).value(), hook_);
    if (relisted) {
        listNames(files.names, before, kept);
    }
    for (const auto& leftover : repair.removed) {
        removeSections(files.sets, sectionOf(leftover));
    }
    if (auto saved = files.saveNamesFirst(); !saved) {
        return saved.error();
    }
    return repair;
}

}  // namespace vaultrix
