#pragma once

#include <optional>
#include <string>

#include "common/Result.h"
#include "engine/CopyDestination.h"
#include "engine/CopyObserver.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// The failures of one copy: each is told to the observer as it happens, and the first is the
// copy's result. Some end the walk, because nothing further could be written.
class CopyFailures {
public:
    CopyFailures(CopyObserver& observer, const CopyDestination& destination);

    // Tells the failure. False, so that a step can return it as its own outcome.
    bool report(Error error);
    // The entry at `path` could not be copied, for this reason.
    bool fail(const std::string& path, const std::string& reason);
    // The same for the system's code. A full disk, a read-only volume, a destination gone or a
    // cancel ends the walk; a destination gone is said once, not for every entry left.
    bool fail(const std::string& path, fs::OsCode code);

    // Whether the walk is to end.
    bool stopped() const { return stopped_; }
    // The first failure, or success when there was none.
    Result<> result() const;

private:
    CopyObserver& observer_;
    const CopyDestination& destination_;
    std::optional<Error> first_;
    bool stopped_ = false;
};

}  // namespace vaultrix
