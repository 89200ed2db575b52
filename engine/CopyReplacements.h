#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CopyEntryWriter.h"
#include "engine/CopyFailures.h"
#include "engine/CopyProgressMeter.h"

namespace vaultrix {

// Files and links written whole beside the older copies they are to replace, waiting to take
// their places. Before the renames their data are put on the destination's disk, all of them
// with one flush of its volume rather than one flush per file, so a power cut never leaves an
// older copy exchanged for a file whose data were still in memory.
class CopyReplacements {
public:
    struct Waiting {
        CopyFailures::Step step;  // held until the rename is done
        std::string source;
        std::string written;
        std::string target;
        std::uint64_t leftAlone;  // the bytes of the file not moved, counted when it is done
    };

    // From any of the copy's threads.
    void add(Waiting waiting);

    // Flushes the destination's volume and renames every waiting entry over its target, in the
    // order of the tree; each outcome is told at its step, which is released. After a stop the
    // written entries are removed instead and the older copies stay. On the walk's thread, once
    // the jobs that add are done.
    void apply(CopyEntryWriter& writer, CopyFailures& failures, CopyProgressMeter& meter);

private:
    std::mutex mutex_;
    std::vector<Waiting> waiting_;
};

}  // namespace vaultrix
