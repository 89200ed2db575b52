#pragma once

#include <string>

#include "engine/DestinationTraits.h"

namespace vaultrix {

// Finds out which names, sizes and links the destination folder holds: foldsCase, windowsNames,
// largestFile and holdsLinks of `traits`, its other fields left as they are. Case and links are
// tried out with entries under temporary names, removed again (a run cut short leaves them to
// the next run's clean-up), since FUSE drivers tell nothing else; the file system's kind, where
// it can be told, gives the rest. What cannot be found out keeps the values that refuse nothing.
void probeNameTraits(const std::string& folder, DestinationTraits& traits);

}  // namespace vaultrix
