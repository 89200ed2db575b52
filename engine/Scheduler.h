#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/Days.h"
#include "platform/Clock.h"
#include "store/BackupSetStore.h"

namespace vaultrix {

// Minutes to the next run when no active set has a due time: above every real countdown, which
// reaches two weeks when the clock was set back a week over a time the set ran for.
inline constexpr int kNoNextRun = std::numeric_limits<int>::max();

// The time text is a time of day as stored: "HH:MM", hours 00 … 23, minutes 00 … 59. A set
// with any other time is never due and has no next run.
bool isValidTimeOfDay(std::string_view time);

// One stored set as the scheduler sees it: its day and time texts exactly as stored, whether
// it is active, and its name.
struct ScheduleEntry {
    std::string day;
    std::string time;
    bool active = false;
    std::string name;
};

// The countdown in its two forms: one line for the caption, several for the tray tooltip.
struct StatusText {
    std::string oneLine;
    std::string multiLine;

    bool operator==(const StatusText&) const = default;
};

// The status for a number of minutes to the next run (kNoNextRun when none is active).
StatusText statusTextFor(bool tableEmpty, int minutes);

// A local date and minute as seconds since 1970, counted as if local time were UTC
// (localSeconds): the occasion a set is due for.
using LocalMinute = std::int64_t;

// A set that is due now, with the local date and minute it is due for.
struct DueSet {
    std::string name;
    LocalMinute minute = 0;
};

// Per set name, the local date and minute of its last scheduled run. The backup thread keeps it
// so that a set runs at most once for a date and minute, also when the clock shows that minute
// again: the repeated hour in autumn, a clock set back.
using LastRuns = std::map<std::string, LocalMinute>;

// Decides which active sets are due in the current minute and how long it is to the next
// due time. The table is rebuilt by the window thread and read by the backup thread.
//
// A set's due time, a local date and minute, falls due at the real moment the local clock shows
// it: at its first showing when the clock is set back over it (at the second, when the first
// went by without a run); at the end of the gap (spring: 03:00) when the clock skips it. The
// countdown is the real minutes to that moment. The clock passed in gives the time-zone rule,
// `now` is its reading.
class Scheduler {
public:
    // Rebuilds the table from the stored sets, in the order of their names.
    void LoadScheduleTable(const BackupSetStore& sets);
    void setTable(std::vector<ScheduleEntry> table);
    std::vector<ScheduleEntry> table() const;

    // The active entries due now, in table order. None is due again for the date and minute
    // lastRuns holds for it.
    std::vector<DueSet> CollectDueSets(const Clock& clock, const LocalTime& now,
                                       const LastRuns& lastRuns = {}) const;
    // Smallest number of real minutes until an active entry is due; kNoNextRun when there is
    // none. 0 exactly when CollectDueSets finds a set due.
    int MinutesToNextRun(const Clock& clock, const LocalTime& now,
                         const LastRuns& lastRuns = {}) const;
    // The status for now: caption line and tooltip text.
    StatusText UpdateStatusText(const Clock& clock, const LocalTime& now,
                                const LastRuns& lastRuns = {}) const;

private:
    mutable std::mutex mutex_;
    std::vector<ScheduleEntry> table_;
};

}  // namespace vaultrix
