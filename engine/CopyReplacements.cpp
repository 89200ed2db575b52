#include "engine/CopyReplacements.h"

#include <algorithm>
#include <utility>

namespace vaultrix {

void CopyReplacements::add(Waiting waiting) {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(waiting));
}

void CopyReplacements::apply(CopyEntryWriter& writer, CopyFailures& failures,
                             CopyProgressMeter& meter) {
    std::vector<Waiting> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(waiting_);
    }
    if (batch.empty()) return;
    std::sort(batch.begin(), batch.end(),
              [](const Waiting& a, const Waiting& b) { return a.step < b.step; });
    // The older copies are only ever replaced by data already on the disk.
    const fs::OsCode flushed = failures.stopped() ? fs::kOsOk : writer.flush();
    for (Waiting& entry : batch) {
        fs::OsCode code = flushed;
        if (failures.stopped()) {
            fs::removeQuietly(entry.written);
        } else if (code != fs::kOsOk) {
            fs::removeQuietly(entry.written);
            failures.fail(entry.step, entry.source, code);
        } else if (code = writer.replace(entry.written, entry.target); code != fs::kOsOk) {
            failures.fail(entry.step, entry.source, code);
        } else {
            meter.fileDone(entry.leftAlone);
        }
        failures.release(entry.step);
    }
}

}  // namespace vaultrix
