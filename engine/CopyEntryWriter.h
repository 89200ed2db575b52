#pragma once

#include <cstdint>
#include <string>

#include "engine/CopyFailures.h"
#include "engine/CopyProgressMeter.h"
#include "engine/CopyTemporaries.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// How an entry reaches its target.
enum class EntryWrite {
    fresh,          // nothing is there: written in place
    replace,        // through a temporary name beside the target and one rename
    replaceSynced,  // the same, the data on the disk before they replace the older backup
};

// Writes the entries the walk hands it into the target folders: a file's data or a link, and an
// entry built whole under a temporary name taking an older entry's place. Each call reports its
// own failure and returns whether its entry now stands at the target.
class CopyEntryWriter {
public:
    CopyEntryWriter(CopyTemporaries& temporaries, CopyProgressMeter& meter, CopyFailures& failures);

    // A new file is written in place: should the run be cut short, the partial file lacks the
    // source's time and the next run copies it again. An existing one is replaced through a
    // temporary file beside it and one rename, so the target is always either the older backup
    // or the complete new one.
    bool writeFile(const std::string& source, const fs::EntryInfo& info, const std::string& folder,
                   const std::string& name, EntryWrite how);
    // The link itself, never what it points to, likewise.
    bool writeLink(const std::string& source, const std::string& folder, const std::string& name,
                   EntryWrite how);
    // The entry built whole at `temporary` takes the place of folder/name, whatever the older
    // entry's kind, which then goes; a failure on the way leaves the older entry as it was.
    bool takePlace(const std::string& source, const std::string& temporary,
                   const std::string& folder, const std::string& name);

    // Entries made or replaced so far.
    std::uint64_t writes() const { return writes_; }

private:
    bool write(const std::string& source, const std::string& folder, const std::string& name,
               EntryWrite how, bool link);

    CopyTemporaries& temporaries_;
    CopyProgressMeter& meter_;
    CopyFailures& failures_;
    fs::CopyContext context_;
    std::uint64_t writes_ = 0;
};

}  // namespace vaultrix
