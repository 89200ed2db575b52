#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Result.h"
#include "store/KeyedSteps.h"
#include "store/LineList.h"

namespace vaultrix {

// The program's access to its text files of "[SECTION]" lines and "key=value" lines.
//
// Each operation reads the whole file, changes the lines and writes the whole file back. Files
// are Windows-1252 with CR LF on disk and UTF-8 in memory; a file a text editor saved as UTF-8
// is read as such and written back as Windows-1252. A rewrite goes through a temporary
// file in the same folder and an atomic rename, so a crash leaves the old file or the new one,
// never a torn one. Every operation on one file is serialised process-wide.
//
// Section arguments are whole header lines ("[EINSTELLUNG]"); key arguments carry their '='
// ("wert="). A missing file, section or key reads as the empty string. A write fails, and the
// file stays as it was, when the file exists but cannot be read, cannot be replaced, or a text
// does not fit Windows-1252 or holds a line feed. Lines of any length are kept whole.
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

    // Load and save for operations made of several steps on one file (hold lock() around them).
    // A missing file loads as no lines; a file that exists but cannot be read is an error.
    static Result<LineList> load(const Path& file);
    static Result<> save(const Path& file, const LineList& lines);
    // Loads, lets `change` edit the lines, and saves, all under the file's lock.
    static Result<> update(const Path& file, const std::function<void(LineList&)>& change);

    // The whole file as UTF-8 text, as it stands (for showing it); empty when missing.
    static Result<std::string> readText(const Path& file);
    // The file's bytes as they stand, to put it back exactly; empty when missing.
    static Result<std::string> readStoredBytes(const Path& file);
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

}  // namespace vaultrix
