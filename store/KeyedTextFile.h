#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "store/KeyedSteps.h"
#include "store/LineList.h"

namespace vaultrix {

// The program's access to its text files of "[SECTION]" lines and "key=value" lines.
//
// Each operation reads the whole file, changes the lines and writes the whole file back. Files
// are Windows-1252 with CR LF on disk and UTF-8 in memory; a file a text editor saved as UTF-8
// is read as such (decodeStoredText) and written back as Windows-1252. A rewrite goes through a
// temporary file in the same folder and an atomic rename, so a crash leaves the old file or the
// new one, never a torn one. Every operation on one file is serialised process-wide.
//
// Section arguments are whole header lines ("[EINSTELLUNG]"); key arguments carry their '='
// ("wert="). A missing file, section or key reads as the empty string. A write fails, and the
// file stays as it was, when the file exists but cannot be read, cannot be replaced, or a text
// does not fit Windows-1252, holds a line feed, or would read back as another text. Lines of
// any length are kept whole.
class KeyedTextFile {
public:
    using Path = std::filesystem::path;

    static std::string readValue(const Path& file, std::string_view section, std::string_view key);
    // Replaces the entry where it stands, or inserts it directly below the header; a missing
    // section is appended at the end of the file.
    static Result<> writeEntry(const Path& file, std::string_view section, std::string_view entry);
    static Result<Removal> deleteEntry(const Path& file, std::string_view section,
                                       std::string_view key);
    static Result<Removal> deleteSectionHeader(const Path& file, std::string_view section);
    static Result<> replaceLine(const Path& file, std::string_view oldLine,
                                std::string_view newLine);

    // A missing file loads as no lines; a file that exists but cannot be read is an error.
    static Result<LineList> load(const Path& file);
    static Result<> save(const Path& file, const LineList& lines);
    // The bytes a save of the lines writes into the file, or why it refuses them.
    static Result<std::string> storedBytes(const Path& file, const LineList& lines);
    // The lines a load of a file holding these bytes gives.
    static LineList linesOf(std::string_view bytes);
    // Loads the file, runs the steps on its lines and saves them, as one change.
    static Result<> change(const Path& file, const std::function<void(KeyedSteps&)>& steps);

    // The whole file as UTF-8 text, as it stands (for showing it); empty when missing.
    static Result<std::string> readText(const Path& file);
    // The end of a file too large to show whole: at most maxBytes of it, from the first line
    // that starts there.
    struct TextEnd {
        std::string text;
        std::uintmax_t fileSize = 0;  // of the whole file, in bytes
        bool shortened = false;       // the text is only the end of the file
    };
    static Result<TextEnd> readTextEnd(const Path& file, std::uintmax_t maxBytes);
    // Removes the file under its lock; a missing file counts as removed.
    static Result<> remove(const Path& file);

    // The lock that serialises every operation on this file, process-wide. Recursive, so a
    // caller that makes several steps one unit can hold it around the single operations.
    static std::unique_lock<std::recursive_mutex> lock(const Path& file);
};

// One change of one or more keyed files, made whole or not at all: every rewrite of the store
// goes through it. Opening locks the files in the order given (a change always names its files
// in one order, so two changes never wait for each other crosswise) and reads them; they stay
// locked until the change is gone. The files are replaced one at a time, each atomically, in the
// order save() takes or the caller's own order of write() steps.
class KeyedChange {
public:
    // A file that exists but cannot be read fails the change.
    static Result<KeyedChange> open(std::initializer_list<std::filesystem::path> files);

    const std::filesystem::path& path(std::size_t i) const { return files_[i].path; }
    // The i-th file's text as it was read (UTF-8); empty for a missing file.
    const std::string& text(std::size_t i) const { return files_[i].text; }
    // The i-th file's lines as it was read.
    LineList lines(std::size_t i) const { return LineList::parse(text(i)); }

    // Writes the new lines of every file, one for each in the order of opening, from the last
    // file to the first. When a write fails, the files already written are put back as they
    // were read (a file that was missing is removed again).
    Result<> save(std::initializer_list<const LineList*> lines);
    // Writes the new lines of the i-th file, as one step of a change that replaces its files one
    // by one in an order of its own. When the write fails, undo() runs.
    Result<> write(std::size_t i, const LineList& lines);
    // Puts every file this change has written back as it was read, the last written first.
    void undo();

private:
    struct File {
        std::filesystem::path path;
        std::unique_lock<std::recursive_mutex> lock;
        std::string bytes;  // as read, to put back
        std::string text;
        bool existed = false;
    };
    std::vector<File> files_;
    std::vector<std::size_t> written_;  // the files written so far, in the order of writing
};

}  // namespace vaultrix
