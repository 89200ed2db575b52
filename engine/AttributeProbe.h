#pragma once

#include <string>

#include "engine/DestinationTraits.h"

namespace vaultrix {

// Finds out from a probe file in `folder` (under a temporary name, removed again; a run cut
// short leaves it to the next run to clear) in which steps the destination keeps modification
// times and whether it keeps permission bits, and sets them in `traits`. A folder the probe
// cannot be written into leaves both as they were: times compared exactly, permissions kept.
void probeAttributes(const std::string& folder, DestinationTraits& traits);

}  // namespace vaultrix
