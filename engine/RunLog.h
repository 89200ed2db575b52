#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Result.h"
#include "platform/Clock.h"
#include "store/LogFile.h"

namespace vaultrix {

// Actions and results written into the log.
inline constexpr const char* kActionStarted = "gestartet";
inline constexpr const char* kActionNew = "neu";
inline constexpr const char* kActionEdited = "bearbeitet";
inline constexpr const char* kActionDeleted = "gelöscht";
inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultError = "error";

// The history in "save.log": one record per run and per change of a set, with its action,
// the set's name, the result and the time (LogFile lays it out). The oldest records are trimmed
// so the file stays at 4200 bytes.
// Appends and trims from any thread are serialised. Two records in the same second stay two
// records.
class RunLog {
public:
    RunLog(std::filesystem::path folder, const Clock& clock);

    // Writes one record at the end of the log, then trims it. Its texts go in as
    // LogFile::recordText makes them (a long name cut, what cannot be stored replaced), so
    // only a log that cannot be read or written refuses a record.
    Result<> AppendRecord(const std::string& result, const std::string& name,
                          const std::string& action);
    // Removes records from the front while the file is larger than 4200 bytes; what stands
    // before the first record header goes first.
    Result<> TrimLog();

    // The log as text for the log page, lines ended by "\n" (empty when there is none or it
    // cannot be read).
    std::string LoadLogText() const;
    // The same for a log that may be too large to show whole: at most maxBytes of its end.
    LogText LoadLogEnd(std::uintmax_t maxBytes) const;
    // Deletes the log file; a missing file counts as deleted.
    Result<> DeleteLog();

    std::filesystem::path file() const;

private:
    LogFile file_;
    const Clock& clock_;
};

}  // namespace vaultrix
