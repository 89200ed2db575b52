#pragma once

#include <optional>
#include <string>

#include "common/Result.h"
#include "engine/DestinationTraits.h"
#include "platform/FileSystem.h"
#include "platform/Volumes.h"

namespace vaultrix {

// The folder a copy writes into, guarded. An absent drive leaves its mount point as an empty
// folder on the system disk: a backup written there would fill that disk and vanish under the
// drive when it comes back. So nothing is written below a configured mount point that is not
// mounted, and a missing destination is not made in an empty folder that is no mounted volume's
// root.
class CopyDestination {
public:
    // `given` as the user gave it: the failures name it so.
    explicit CopyDestination(std::string given);

    // Makes the destination ready to be written into: refuses an absent drive or share, a
    // dangling link and what is no folder; makes a missing destination (one level) unless the
    // folder above it looks like an absent drive's mount point. Then finds out its traits.
    Result<> prepare(const fs::MountTable& mounts);

    // The destination's path, normalised by its text.
    const std::string& path() const { return path_; }
    // What the destination was once prepared: never walked into when it lies inside a source.
    const fs::EntryInfo& info() const { return info_; }
    // The failure that says the prepared folder is no longer there (removed, renamed or
    // replaced, or its drive gone); nothing while it is.
    std::optional<Error> gone() const;
    // What the prepared destination can hold.
    const DestinationTraits& traits() const { return traits_; }

private:
    const std::string given_;
    const std::string path_;
    fs::EntryInfo info_;
    DestinationTraits traits_;
};

}  // namespace vaultrix
