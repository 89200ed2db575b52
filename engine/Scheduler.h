#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "store/BackupSetStore.h"

namespace vaultrix {

inline constexpr const char* kEveryDay = "täglich";
// Minutes to the next run when no active set has a due time.
inline constexpr int kNoNextRun = 20000;

// "Sonntag" (0) … "Sonnabend" (6), "täglich" (7).
std::string weekdayName(int number);
// The number of a day text, Sunday = 0, "täglich" = 7; -1 for any other text.
int dayNumber(std::string_view day);
// The time text is a time of day as stored: "HH:MM", hours 00 … 23, minutes 00 … 59. A set
// with any other time is never due and has no next run.
bool isValidTimeOfDay(std::string_view time);

// One stored set as the scheduler sees it: the texts exactly as stored.
struct ScheduleEntry {
    std::string day;
    std::string time;
    std::string active;
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

// Decides which active sets are due in the current minute and how long it is to the next
// due time. The table is rebuilt by the window thread and read by the backup thread.
class Scheduler {
public:
    // Rebuilds the table from the stored sets, in the order of their names.
    void LoadScheduleTable(const BackupSetStore& sets);
    void setTable(std::vector<ScheduleEntry> table);
    std::vector<ScheduleEntry> table() const;

    // The day text is today's weekday name or "täglich".
    static bool IsDueToday(std::string_view day, const LocalTime& now);
    // The time text equals the current "hh:mm".
    static bool IsDueNow(std::string_view time, const LocalTime& now);

    // Names of the active entries due now, in table order.
    std::vector<std::string> CollectDueSets(const LocalTime& now) const;
    // Smallest number of minutes until an active entry is due; kNoNextRun when there is none.
    int MinutesToNextRun(const LocalTime& now) const;
    // The status for now: caption line and tooltip text.
    StatusText UpdateStatusText(const LocalTime& now) const;

private:
    mutable std::mutex mutex_;
    std::vector<ScheduleEntry> table_;
};

}  // namespace vaultrix
