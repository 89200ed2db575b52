#include "engine/TreeCopier.h"

#include <utility>
#include <vector>

#include "engine/CopyToFolderNames.h"
#include "engine/DestinationRefusals.h"
#include "engine/TimeStep.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;
using fs::OsCode;

// Replacements written beside their targets wait for one flush together; so many, or so many
// bytes, are put in place at once, so a folder of many changed files never holds them all twice.
constexpr std::size_t kReplacementsAtOnce = 256;
constexpr std::uint64_t kReplacedBytesAtOnce = 256u << 20;

// A target of the source's size and modification time, as far as the destination keeps times,
// is current and is left as it is.
bool current(const EntryInfo& target, const EntryInfo& source, const DestinationTraits& traits) {
    return target.size == source.size &&
           sameTimeWithinStep(target.modifiedNs, source.modifiedNs, traits.timeStepNs);
}

// Permission bits count only where the destination keeps them.
bool permissionsDiffer(const EntryInfo& target, const EntryInfo& source,
                       const DestinationTraits& traits) {
    return traits.keepsPermissions && target.permissions != source.permissions;
}

}  // namespace

TreeCopier::TreeCopier(const CopyDestination& destination, CopyObserver& observer,
                       CopyFailures& failures, CopyTemporaries& temporaries,
                       CopyProgressMeter& meter, CopyEntryWriter& writer, CopyWorkers& workers)
    : destination_(destination),
      observer_(observer),
      failures_(failures),
      temporaries_(temporaries),
      meter_(meter),
      writer_(writer),
      workers_(workers) {}

template <typename Body>
bool TreeCopier::withPending(Body body) {
    Pending pending;
    Pending* outer = std::exchange(pending_, &pending);
    const bool done = body();
    // Always: the jobs refer to `pending`.
    settle(pending);
    pending_ = outer;
    // A job may have ended the walk while it was waited for.
    return done && !failures_.stopped();
}

void TreeCopier::settle(Pending& pending) {
    pending.jobs.wait();
    pending.replacements.apply(writer_, failures_, meter_);
    pending.replacing = 0;
    pending.replacedBytes = 0;
}

void TreeCopier::copyOver(const std::string& source, const EntryInfo& info,
                          const std::string& name) {
    failures_.nextStep();
    if (refused(source, info, name)) return;
    EntryInfo target;
    if (const OsCode code = fs::statEntry(fs::joinPath(destination_.path(), name), target);
        code != kOsOk) {
        failures_.fail(source, code);
        return;
    }
    withPending([&] { return copyEntry(source, info, destination_.path(), name, target); });
}

void TreeCopier::copyAsNew(const std::string& source, const EntryInfo& info,
                           const std::string& name) {
    failures_.nextStep();
    if (refused(source, info, name)) return;
    const std::optional<std::string> built =
        copyUnderTemporaryName(source, info, destination_.path(), name);
    if (!built) return;
    // A copy that looks complete holds data already on the disk.
    OsCode code = writer_.flush();
    if (code == kOsOk)
        code = nameNewCopy(*built, destination_.path(), name, info.kind == EntryKind::Folder);
    if (code != kOsOk) {
        failures_.fail(source, code);
        CopyTemporaries::discard(*built);
    }
}

// Copies the entry whole into `folder` under a new temporary name and gives its path; a copy
// that fails is removed again and gives nothing.
std::optional<std::string> TreeCopier::copyUnderTemporaryName(const std::string& source,
                                                              const EntryInfo& info,
                                                              const std::string& folder,
                                                              const std::string& name) {
    const std::string temporaryName = temporaries_.newName(name);
    const std::string temporary = fs::joinPath(folder, temporaryName);
    meter_.building(temporary);
    bool copied =
        withPending([&] { return copyEntry(source, info, folder, temporaryName, EntryInfo{}); });
    meter_.building({});
    // A file or link written by a worker leaves nothing behind when it fails.
    if (copied && info.kind != EntryKind::Folder) {
        EntryInfo written;
        copied = fs::statEntry(temporary, written) == kOsOk && written.kind == info.kind;
    }
    if (copied && !failures_.stopped()) return temporary;
    CopyTemporaries::discard(temporary);
    return std::nullopt;
}

bool TreeCopier::copyEntry(const std::string& source, const EntryInfo& info,
                           const std::string& folder, const std::string& name,
                           const EntryInfo& target) {
    switch (info.kind) {
        case EntryKind::File:
            return copyFile(source, info, folder, name, target);
        case EntryKind::Folder:
            return copyFolder(source, info, folder, name, target);
        case EntryKind::Link:
            return copyLink(source, info, folder, name, target);
        case EntryKind::Special:  // sockets, FIFOs and devices inside a folder are left out
        case EntryKind::Missing:
            break;
    }
    return true;
}

bool TreeCopier::copyFolder(const std::string& source, const EntryInfo& info,
                            const std::string& folder, const std::string& name,
                            const EntryInfo& target) {
    if (target.kind != EntryKind::Missing && target.kind != EntryKind::Folder)
        return replaceByOtherKind(source, info, folder, name);
    const std::string targetPath = fs::joinPath(folder, name);
    const bool fresh = target.kind == EntryKind::Missing;
    const std::uint64_t writesBefore = writes();
    const DestinationTraits& traits = destination_.traits();
    bool attributesChanged =
        fresh || permissionsDiffer(target, info, traits) ||
        !sameTimeWithinStep(target.modifiedNs, info.modifiedNs, traits.timeStepNs);
    if (fresh) {
        if (const OsCode code = fs::makeFolder(targetPath); code != kOsOk)
            return failures_.fail(source, code);
        ++folderWrites_;
    } else {
        folderWrites_ += temporaries_.clearLeftovers(targetPath);
        if (traits.keepsPermissions && !fs::folderWritable(target)) {
            if (const OsCode code = fs::makeFolderWritable(targetPath, target); code != kOsOk)
                return failures_.fail(source, code);
            attributesChanged = true;
        }
    }
    if (top_.kind == EntryKind::Missing) {
        if (const OsCode code = fs::statEntry(targetPath, top_); code != kOsOk)
            return failures_.fail(source, code);
    }
    // Replacements waiting above hold back the failures of everything after them in the tree:
    // they are put in place before the walk goes down, so those never pile up.
    if (pending_ != nullptr && pending_->replacing > 0) settle(*pending_);
    // Every entry of the folder is done before it gets its attributes.
    if (!withPending([&] { return copyChildren(source, targetPath, fresh); })) return false;
    // Last, because every entry written changes the folder's time.
    if (attributesChanged || writes() != writesBefore) {
        if (const OsCode code = fs::applyAttributes(targetPath, info); code != kOsOk)
            return failures_.fail(source, code);
    }
    return true;
}

// The entries of the source folder into the target folder, in the order of their names; false
// when the folder cannot be listed or the walk is to end.
bool TreeCopier::copyChildren(const std::string& source, const std::string& targetPath,
                              bool fresh) {
    std::vector<std::string> names;
    if (const OsCode code = fs::listFolder(source, names); code != kOsOk)
        return failures_.fail(source, code);
    TargetFolderNames taken(destination_.traits());
    for (const std::string& childName : names) {
        const std::string child = fs::joinPath(source, childName);
        failures_.nextStep();
        if (!failures_.stopped() && observer_.cancelRequested())
            failures_.fail(child, fs::kOsCancelled);
        if (failures_.stopped()) return false;
        EntryInfo childInfo;
        if (const OsCode code = fs::statEntry(child, childInfo); code != kOsOk) {
            failures_.fail(child, code);
            continue;
        }
        // Gone since the listing (a program's temporary file): nothing left to back up.
        if (childInfo.kind == EntryKind::Missing || childInfo.kind == EntryKind::Special) continue;
        // The destination, or the copy being made, inside the source: never copy into itself.
        if (childInfo.sameEntryAs(destination_.info()) || childInfo.sameEntryAs(top_)) continue;
        if (refused(child, childInfo, childName)) continue;
        // The first of two names the destination takes for one is copied, the second refused.
        if (const std::string holder = taken.take(childName); !holder.empty()) {
            failures_.fail(child, holder);
            continue;
        }
        EntryInfo childTarget;
        if (!fresh) {
            if (const OsCode code = fs::statEntry(fs::joinPath(targetPath, childName), childTarget);
                code != kOsOk) {
                failures_.fail(child, code);
                continue;
            }
        }
        copyEntry(child, childInfo, targetPath, childName, childTarget);
    }
    return !failures_.stopped();
}

// Fails an entry the destination cannot hold before anything of it is written.
bool TreeCopier::refused(const std::string& source, const EntryInfo& info,
                         const std::string& name) {
    const std::string reason = destinationRefusal(destination_.traits(), name, info);
    if (reason.empty()) return false;
    failures_.fail(source, reason);
    return true;
}

bool TreeCopier::copyFile(const std::string& source, const EntryInfo& info,
                          const std::string& folder, const std::string& name,
                          const EntryInfo& target) {
    switch (target.kind) {
        case EntryKind::Missing:
            write(source, info, folder, name, true);
            return true;
        case EntryKind::File:
            if (target.sameEntryAs(info)) break;  // the source lies inside its own backup
            if (!current(target, info, destination_.traits())) {
                write(source, info, folder, name, false);
                return true;
            }
            // Only changed permissions are brought over.
            if (permissionsDiffer(target, info, destination_.traits())) {
                if (const OsCode code = fs::applyAttributes(fs::joinPath(folder, name), info);
                    code != kOsOk) {
                    return failures_.fail(source, code);
                }
            }
            break;
        case EntryKind::Link:
        case EntryKind::Special:
            write(source, info, folder, name, false);
            return true;
        case EntryKind::Folder:
            return replaceByOtherKind(source, info, folder, name);
    }
    meter_.fileDone(info.size);
    return true;
}

bool TreeCopier::copyLink(const std::string& source, const EntryInfo& info,
                          const std::string& folder, const std::string& name,
                          const EntryInfo& target) {
    switch (target.kind) {
        case EntryKind::Missing:
            write(source, info, folder, name, true);
            return true;
        case EntryKind::File:
        case EntryKind::Special:
            write(source, info, folder, name, false);
            return true;
        case EntryKind::Link:
            // A link's size is the length of what it points to; with its time that marks an
            // unchanged link, as for files.
            if (current(target, info, destination_.traits())) break;
            write(source, info, folder, name, false);
            return true;
        case EntryKind::Folder:
            return replaceByOtherKind(source, info, folder, name);
    }
    meter_.fileDone(0);
    return true;
}

void TreeCopier::write(const std::string& source, const EntryInfo& info, const std::string& folder,
                       const std::string& name, bool fresh) {
    Pending& pending = *pending_;
    if (!fresh) {
        if (pending.replacing >= kReplacementsAtOnce ||
            pending.replacedBytes >= kReplacedBytesAtOnce) {
            settle(pending);
        }
        ++pending.replacing;
        pending.replacedBytes += info.size;
    }
    const CopyFailures::Step step = failures_.step();
    failures_.hold(step);
    workers_.run(pending.jobs, [this, &pending, step, source, info, folder, name,
                                fresh](fs::CopyContext& context) {
        // After a stop nothing more is written, and its failure would only follow from it.
        if (failures_.stopped()) {
            failures_.release(step);
            return;
        }
        const std::string target = fs::joinPath(folder, name);
        const std::string at = fresh ? target : writer_.temporaryBeside(folder, name);
        std::uint64_t leftAlone = 0;
        const OsCode code = info.kind == EntryKind::Link
                                ? writer_.writeLink(source, at)
                                : writer_.writeFile(source, info, at, context, leftAlone);
        if (code != kOsOk) {
            failures_.fail(step, source, code);
        } else if (!fresh) {
            pending.replacements.add({step, source, at, target, leftAlone});
            return;  // the step stays held until the replacement is in place
        } else {
            meter_.fileDone(leftAlone);
        }
        failures_.release(step);
    });
}

// An entry whose kind changed (a file became a folder, or the other way round): the new one is
// written whole under a temporary name and takes the old one's place before the old one is
// removed, so a failure on the way leaves the older backup as it was.
bool TreeCopier::replaceByOtherKind(const std::string& source, const EntryInfo& info,
                                    const std::string& folder, const std::string& name) {
    const std::optional<std::string> built = copyUnderTemporaryName(source, info, folder, name);
    if (!built) return false;
    // The older entry is only ever replaced by data already on the disk.
    OsCode code = writer_.flush();
    if (code == kOsOk) code = writer_.takePlace(*built, folder, name);
    if (code != kOsOk) {
        CopyTemporaries::discard(*built);
        return failures_.fail(source, code);
    }
    return true;
}

}  // namespace vaultrix
