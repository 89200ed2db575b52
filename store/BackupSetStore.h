#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/Result.h"
#include "store/BackupSet.h"

namespace vaultrix {

// File names of the stored sets, relative to the data folder.
inline constexpr const char* kSetFileName = "save.ini";
inline constexpr const char* kSetNameFileName = "savename.ini";

// The names of the stored sets as "savename.ini" lists them.
struct SetNames {
    std::vector<std::string> names;  // name_1, name_2, … up to the first empty one
    int count = 0;                   // the stored "wert=" (0 when missing or not a number)
};

// One set as it is stored: its values, its "aktiv=" text as it stands ("ja", "nein", or
// anything a hand left there), which the details view shows unchanged, and whether "save.ini"
// holds its section at all (a section without keys reads as empty values just the same).
struct StoredSet {
    BackupSet set;
    std::string activeText;
    bool hasSection = false;
};

// What BackupSetStore::repairSetFiles found and did.
struct SetRepair {
    // Listed names without a section, taken off the list; the later names moved down.
    std::vector<std::string> dropped;
    // A listed name without a section (first) whose number an unlisted section's name (second)
    // took: an earlier program could leave a rename half done that way.
    std::vector<std::pair<std::string, std::string>> restored;
    // Names of the unlisted sections removed: what an interrupted change left.
    std::vector<std::string> removed;
};

// What a change does after it has replaced one of the two files: tests play a crash there.
enum class AfterFileStep {
    proceed,
    stop,  // the change ends at once, leaving the files as a crash at this point would
    fail,  // the change goes on as if this write had failed
};

// The backup sets in "savename.ini" (numbered names and their count) and "save.ini" (one
// section per set). Keeps nothing in memory: every call reads the files.
//
// Changes refuse what would break the files: an empty name, a name longer than 200 characters, a
// control character (a line break, a NUL …) in a name, source or destination, a name that
// another stored set already has, texts Windows-1252 cannot hold and texts that would read back
// as other texts (store/StorableText.h). A change touches no line outside the sections of its set
// and of the names list, and leaves the names list and its count agreeing. The caller records each
// change in the run log.
//
// A change replaces the two files one at a time, each whole, in an order that leaves every
// listed name with its complete section wherever a crash stops it: a new set's section is
// written before its name is listed; a deleted set's name leaves the list before its section
// goes; a renamed set gets its section under the new name beside the old one, then the new name
// takes the old one's number, then the old section goes; an edit under the same name changes
// "save.ini" alone (the names list is written after it as it was). A crash can so leave only
// sections whose name is not listed, which repairSetFiles removes at the next start.
class BackupSetStore {
public:
    explicit BackupSetStore(std::filesystem::path folder);

    SetNames loadSetNames() const;
    // The stored values of one set, from one reading of the file, so a change never shows half
    // done; a missing set or key reads as empty.
    BackupSet loadSet(const std::string& name) const;
    // The same with the "aktiv=" text exactly as it stands.
    StoredSet loadStoredSet(const std::string& name) const;
    // Every listed set, in the order of the names, from one reading of each file.
    std::vector<BackupSet> loadAllSets() const;

    // A new set: its name takes the first free number, "wert=" the true count of names.
    Result<> saveNewSet(const BackupSet& set);
    // A stored set opened under editedSetName, saved as `set` (which may carry a new name).
    Result<> saveEditedSet(const std::string& editedSetName, const BackupSet& set);
    // Gives the section and the name entry of oldName the new name; the number stays.
    Result<> renameStoredSet(const std::string& oldName, const std::string& newName);
    // Removes the set from both files and closes the gap in the name numbers.
    Result<> deleteStoredSet(const std::string& name);

    // Makes the files agree again after a crash; run at start, while no other program of the
    // folder runs, before anything reads the sets. A listed name without a section takes the
    // name of a section that no name entry holds (in the order of the file), while there is one,
    // and is otherwise taken off the list: an earlier program could leave a rename half done so,
    // and no stored source is lost. One section left that no name entry holds is what an
    // interrupted change leaves, and goes; several are not, and stay. Changes nothing where
    // nothing disagrees.
    Result<SetRepair> repairSetFiles();

    // Called after each file a change has replaced (tests only).
    using FileStepHook = std::function<AfterFileStep(const std::filesystem::path& written)>;
    void setFileStepHook(FileStepHook hook);

private:
    std::filesystem::path setFile() const;
    std::filesystem::path nameFile() const;

    std::filesystem::path folder_;
    FileStepHook hook_;
};

}  // namespace vaultrix
