#pragma once

#include <string>
#include <vector>

#include "store/BackupSetStore.h"

namespace vaultrix {

// The set details view, ready to show.
struct SetDetailsTexts {
    // "Sicherungsname: <name>\n\n" followed by the sources, destination, day, time and flag.
    std::string text;
    // The paths the view warns about when they cannot be reached: the sources in stored order,
    // then the destination, always last.
    std::vector<std::string> paths;
};

// Reads the stored values of the set and builds the details text. Nothing is asked of the file
// system, so a drive that does not answer cannot hold it up.
SetDetailsTexts setDetailsTexts(const BackupSetStore& sets, const std::string& name);

// The warning about the paths that cannot be reached, where reachable[i] answers paths[i] of
// the set's details; empty when every path can be reached.
std::string missingPathsMessage(const std::string& name, const std::vector<std::string>& paths,
                                const std::vector<bool>& reachable);

}  // namespace vaultrix
