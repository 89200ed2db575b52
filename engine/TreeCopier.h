#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/CopyDestination.h"
#include "engine/CopyEntryWriter.h"
#include "engine/CopyFailures.h"
#include "engine/CopyObserver.h"
#include "engine/CopyProgressMeter.h"
#include "engine/CopyReplacements.h"
#include "engine/CopyTemporaries.h"
#include "engine/CopyWorkers.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// The walk of one copy: it takes the source as a stream, folder by folder, so memory stays
// bounded by one folder's names per level whatever the size of the tree. For each entry it
// decides what its target needs (nothing, as it is current; a fresh entry; a replacement; an
// entry of another kind in its place) and hands the writing of a file or link to the workers.
// Folders it makes itself, before their entries, and gives them their attributes once every
// entry in them is done. Each step reports its own failures and returns whether its entry now
// stands at the target (or is on its way there, with a worker).
class TreeCopier {
public:
    TreeCopier(const CopyDestination& destination, CopyObserver& observer, CopyFailures& failures,
               CopyTemporaries& temporaries, CopyProgressMeter& meter, CopyEntryWriter& writer,
               CopyWorkers& workers);

    // The source lands at destination/name: a target file is replaced unless it is current,
    // folders merge, and an entry whose kind changed is replaced whole.
    void copyOver(const std::string& source, const fs::EntryInfo& info, const std::string& name);
    // The copy is built under a temporary name and named only once it is whole, "Name" or the
    // next free new-copy name, so a run cut short leaves nothing that looks like a complete
    // copy; the next run clears it away.
    void copyAsNew(const std::string& source, const fs::EntryInfo& info, const std::string& name);

    // Entries made, replaced or removed in the target folders so far.
    std::uint64_t writes() const { return writer_.writes() + folderWrites_; }

private:
    // The entries of one folder (or one entry built whole) on their way: the workers' jobs and
    // the replacements waiting for their flush.
    struct Pending {
        CopyJobGroup jobs;
        CopyReplacements replacements;
        // The replacements handed out since they were last put in place, and their bytes.
        std::size_t replacing = 0;
        std::uint64_t replacedBytes = 0;
    };

    bool copyEntry(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
                   const std::string& name, const fs::EntryInfo& target);
    bool copyFolder(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
                    const std::string& name, const fs::EntryInfo& target);
    bool copyChildren(const std::string& source, const std::string& targetPath, bool fresh);
    bool refused(const std::string& source, const fs::EntryInfo& info, const std::string& name);
    bool copyFile(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
                  const std::string& name, const fs::EntryInfo& target);
    bool copyLink(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
                  const std::string& name, const fs::EntryInfo& target);
    bool replaceByOtherKind(const std::string& source, const fs::EntryInfo& info,
                            const std::string& folder, const std::string& name);
    std::optional<std::string> copyUnderTemporaryName(const std::string& source,
                                                      const fs::EntryInfo& info,
                                                      const std::string& folder,
                                                      const std::string& name);
    // Hands the writing of a file or link to the workers: fresh in place, else beside its
    // target, which it replaces once flushed.
    void write(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
               const std::string& name, bool fresh);
    // Waits for the entries on their way and puts the replacements in their places.
    void settle(Pending& pending);
    // Runs `body` with its own entries on their way, settled before it returns; false when the
    // body is, or when the walk is to end.
    template <typename Body>
    bool withPending(Body body);

    const CopyDestination& destination_;
    CopyObserver& observer_;
    CopyFailures& failures_;
    CopyTemporaries& temporaries_;
    CopyProgressMeter& meter_;
    CopyEntryWriter& writer_;
    CopyWorkers& workers_;
    Pending* pending_ = nullptr;      // of the folder being walked
    fs::EntryInfo top_;               // the folder the source lands in: never walked into either
    std::uint64_t folderWrites_ = 0;  // folders made, leftovers removed
};

}  // namespace vaultrix
