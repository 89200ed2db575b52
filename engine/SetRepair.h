#pragma once

#include "common/Result.h"
#include "engine/RunLog.h"
#include "store/BackupSetStore.h"

namespace vaultrix {

// The log's actions for what the repair at start did to a listed name.
inline constexpr const char* kActionDroppedAtStart = "beim Start entfernt (Einstellungen fehlten)";
inline constexpr const char* kActionRestoredAtStart = "beim Start wiederhergestellt";

// Repairs what a crash in the middle of a change left in the set files
// (BackupSetStore::repairSetFiles) and records in the log each listed name the repair touched: a
// name taken off the list with "error", a section that took a listed name's number with "ok",
// under its own name. A leftover section removed is not recorded: its change never finished.
Result<> repairStoredSets(BackupSetStore& sets, RunLog& log);

}  // namespace vaultrix
