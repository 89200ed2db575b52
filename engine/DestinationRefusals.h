#pragma once

#include <string>
#include <unordered_map>

#include "engine/DestinationTraits.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// Why the destination cannot hold the entry `name` as it stands: a name its file system
// refuses or would change, a file larger than it holds, a link it cannot store. Empty when it
// can. Such an entry is never begun: the drivers fail it in ways that say nothing (ENOENT for
// "a:b"), store it under another name, or fail it only after gigabytes.
std::string destinationRefusal(const DestinationTraits& traits, const std::string& name,
                               const fs::EntryInfo& info);

// The names the copy put into one target folder, as the destination compares them. Where the
// destination ignores case, "README" and "readme" name one entry: the second would be merged
// into the first, or replace it. Kept for one folder at a time.
class TargetFolderNames {
public:
    explicit TargetFolderNames(const DestinationTraits& traits) : foldsCase_(traits.foldsCase) {}

    // Takes `name` for its entry. When an entry taken before holds it already, the reason,
    // naming both.
    std::string take(const std::string& name);

private:
    bool foldsCase_;
    std::unordered_map<std::string, std::string> taken_;  // folded name → name as it was taken
};

}  // namespace vaultrix
