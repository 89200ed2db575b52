#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/CopyObserver.h"
#include "engine/CopyProgressMeter.h"
#include "engine/CopyTemporaries.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"

namespace vaultrix {

// Writes the entries the walk decided on into the target folders: a file's data or a link at a
// path that is free, and an entry written beside its target taking the target's place. Files
// and links are written on the copy's workers, each with its worker's context; every call
// gives the system's code and leaves nothing behind under the path it failed to write.
class CopyEntryWriter {
public:
    CopyEntryWriter(std::string destination, CopyTemporaries& temporaries, CopyProgressMeter& meter,
                    CopyFaults& faults);

    // The file's data, permissions and time, the time last: should the run be cut short, a
    // partial file lacks the source's time and the next run copies it again. `leftAlone` gets
    // the bytes not moved (the holes of a sparse file), which count as done all the same.
    fs::OsCode writeFile(const std::string& source, const fs::EntryInfo& info,
                         const std::string& at, fs::CopyContext& context, std::uint64_t& leftAlone);
    // The link itself, never what it points to.
    fs::OsCode writeLink(const std::string& source, const std::string& at);
    // A new temporary path beside folder/name, for an entry that is to take its place.
    std::string temporaryBeside(const std::string& folder, const std::string& name);
    // The file or link written whole at `written` replaces the file or link at `target` in one
    // rename; on failure `written` goes and the older entry stays as it was.
    fs::OsCode replace(const std::string& written, const std::string& target);
    // The entry built whole at `temporary` takes the place of folder/name, whatever the older
    // entry's kind, which then goes; a failure on the way leaves the older entry as it was.
    fs::OsCode takePlace(const std::string& temporary, const std::string& folder,
                         const std::string& name);

    // Puts everything written so far on the destination's disk (see fs::flushVolume).
    fs::OsCode flush();

    // Entries made or replaced so far.
    std::uint64_t writes() const { return writes_.load(std::memory_order_relaxed); }

private:
    const std::string destination_;
    CopyTemporaries& temporaries_;
    CopyProgressMeter& meter_;
    CopyFaults& faults_;
    std::atomic<std::uint64_t> writes_{0};
};

}  // namespace vaultrix
