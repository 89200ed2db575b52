#include "engine/SetRepair.h"

namespace vaultrix {

Result<> repairStoredSets(BackupSetStore& sets, RunLog& log) {
    const Result<SetRepair> repaired = sets.repairSetFiles();
    if (!repaired) {
        return repaired.error();
    }
    Result<> logged = success();
    const auto record = [&](const char* result, const std::string& name, const char* action) {
        if (auto appended = log.AppendRecord(result, name, action); !appended && logged) {
            logged = appended;
        }
    };
    for (const auto& name : repaired.value().dropped) {
        record(kResultError, name, kActionDroppedAtStart);
    }
    for (const auto& restored : repaired.value().restored) {
        record(kResultOk, restored.second, kActionRestoredAtStart);
    }
    return logged;
}

}  // namespace vaultrix
