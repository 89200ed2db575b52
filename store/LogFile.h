#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "platform/Clock.h"

namespace vaultrix {

inline constexpr const char* kLogFileName = "save.log";
inline constexpr long long kLogSizeLimit = 4200;

// The log, or its end, as text for showing.
struct LogText {
    std::string text;             // lines ended by "\n"; empty when there is no log
    std::uintmax_t fileSize = 0;  // of the whole log, in bytes
    bool shortened = false;       // the text is only the end of the log
};

// One record of the log: what was done to which set, how it ended, and when.
struct LogRecord {
    std::string action;  // "gestartet", "neu", "bearbeitet", "gelöscht"
    std::string name;    // the set's name
    std::string result;  // "ok" or "error"
    LocalTime time;
};

// The file "save.log": records at its end, each a section headed by its date and time with keyed
// lines, and the oldest trimmed from the front so the file stays at 4200 bytes. Each change is
// one rewrite of the file, serialised with every other change of it.
class LogFile {
public:
    explicit LogFile(std::filesystem::path folder);

    // A text as a record line takes it, so that no record is lost for its texts (a name from a
    // hand-edited file may hold anything): control characters, which would forge record lines,
    // and characters Windows-1252 lacks become "?", and a text longer than a set name may be
    // (200 characters) is cut to 199 and "…".
    static std::string recordText(std::string_view text);

    // Writes the record at the end of the log, then trims it: the header of its date and time
    // ("[06.12.2026 19:30:05]"), "Sicherung=" with the action, "Name=" with the name,
    // "Verlauf=" with the result and an empty line, each text as recordText makes it. Every
    // line written reads back as written: in one that would not (a line of a hand-edited log)
    // what Windows-1252 lacks becomes "?", and a sequence that would read back as another
    // character ("Ã¤") is broken, its first character becoming "?".
    Result<> append(const LogRecord& record);
    // Removes records from the front while the file is larger than 4200 bytes; what stands
    // before the first record header goes first. Stops when no record header is left.
    Result<> trim();
    // At most maxBytes of the log's end, from the first whole line there.
    LogText loadEnd(std::uintmax_t maxBytes) const;
    // Deletes the file; a missing file counts as deleted.
    Result<> remove();

    std::filesystem::path file() const;

private:
    std::filesystem::path folder_;
};

}  // namespace vaultrix
