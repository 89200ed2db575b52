#include "engine/AttributeProbe.h"

#include <array>

#include "engine/CopyTemporaries.h"
#include "engine/TimeStep.h"
#include "platform/FileSystem.h"
#include "platform/PermissionProbe.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::kOsOk;

// The times the destination kept of kProbeTimesNs, or nothing when it took or gave none.
bool keptProbeTimes(const std::string& probe, std::array<std::int64_t, 2>& kept) {
    EntryInfo info;
    if (fs::statEntry(probe, info) != kOsOk) return false;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        info.modifiedNs = kProbeTimesNs[i];
        EntryInfo back;
        if (fs::applyAttributes(probe, info) != kOsOk || fs::statEntry(probe, back) != kOsOk ||
            back.kind != fs::EntryKind::File) {
            return false;
        }
        kept[i] = back.modifiedNs;
    }
    return true;
}

}  // namespace

void probeAttributes(const std::string& folder, DestinationTraits& traits) {
    CopyTemporaries temporaries;
    const std::string probe = fs::joinPath(folder, temporaries.newName("Probe"));
    if (fs::makeEmptyFile(probe) != kOsOk) return;
    if (std::array<std::int64_t, 2> kept{}; keptProbeTimes(probe, kept))
        traits.timeStepNs = timeStepFrom(kept);
    if (bool kept = true; fs::keepsPermissions(probe, kept) == kOsOk)
        traits.keepsPermissions = kept;
    CopyTemporaries::discard(probe);
}

}  // namespace vaultrix
