#pragma once

#include <functional>
#include <string>

#include "store/BackupSetStore.h"

namespace vaultrix {

// The texts of the set details view, ready to show.
struct SetDetailsTexts {
    // "Sicherungsname: <name>\n\n" followed by the sources, destination, day, time and flag.
    std::string text;
    // The warning about unreachable paths; empty when every path exists.
    std::string missingMessage;
};

// Reads the stored values of the set and builds the details text and the missing-paths
// message. pathExists decides which paths count as reachable.
SetDetailsTexts setDetailsTexts(const BackupSetStore& sets, const std::string& name,
                                const std::function<bool(const std::string&)>& pathExists);

}  // namespace vaultrix
