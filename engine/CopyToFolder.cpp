#include "engine/CopyToFolder.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/CopyToFolderNames.h"
#include "platform/FileCopy.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;
using fs::OsCode;

class NoFaults final : public CopyFaults {
public:
    OsCode afterChunk(std::uint64_t) override { return kOsOk; }
};

Error copyFailure(const std::string& path, const std::string& reason) {
    return failure("'" + path + "' konnte nicht kopiert werden: " + reason, path);
}

Error copyFailure(const std::string& path, OsCode code) {
    return copyFailure(path, fs::osErrorReason(code));
}

Error destinationFailure(const std::string& path, const std::string& reason) {
    return failure("Der Zielordner '" + path + "' ist nicht verfügbar: " + reason, path);
}

// One run of the copy: walks the source as a stream, folder by folder, so memory stays
// bounded by one folder's names per level whatever the size of the tree.
class TreeCopier final : private fs::ChunkHook {
public:
    TreeCopier(unsigned flags, CopyObserver& observer, CopyFaults& faults)
        : newCopy_((flags & kCopyFlagRenameOnCollision) != 0),
          observer_(observer),
          faults_(faults),
          random_(static_cast<std::uint32_t>(
              std::chrono::steady_clock::now().time_since_epoch().count() ^
              reinterpret_cast<std::uintptr_t>(this))) {}

    Result<> run(const std::string& source, const std::string& destination) {
        const std::string name = fs::lastName(source);
        EntryInfo info;
        if (const OsCode code = fs::statEntry(source, info); code != kOsOk)
            return copyFailure(source, code);
        if (info.kind == EntryKind::Missing)
            return copyFailure(source, "Datei oder Ordner nicht gefunden");
        if (name.empty())
            return copyFailure(source, "Der Pfad nennt keinen Datei- oder Ordnernamen");
        if (Result<> ready = prepareDestination(destination); !ready) return ready;

        std::string targetName = name;
        EntryInfo target;
        if (const OsCode code = fs::statEntry(fs::joinPath(destination, name), target);
            code != kOsOk) {
            return copyFailure(source, code);
        }
        if (newCopy_ && target.kind != EntryKind::Missing) {
            for (unsigned number = 1; target.kind != EntryKind::Missing; ++number) {
                targetName = newCopyName(name, info.kind == EntryKind::Folder, number);
                if (const OsCode code =
                        fs::statEntry(fs::joinPath(destination, targetName), target);
                    code != kOsOk) {
                    return copyFailure(source, code);
                }
            }
        }
        return copyEntry(source, info, destination, targetName, target);
    }

private:
    // Makes a missing destination folder, but only one level: when its parent is missing too
    // (an unplugged drive's mount point), the copy fails instead of filling the system disk.
    Result<> prepareDestination(const std::string& destination) {
        if (const OsCode code = fs::statEntry(destination, destination_, true); code != kOsOk)
            return destinationFailure(destination, fs::osErrorReason(code));
        if (destination_.kind == EntryKind::Missing) {
            if (const OsCode code = fs::makeFolder(destination); code != kOsOk)
                return destinationFailure(destination, fs::osErrorReason(code));
            if (const OsCode code = fs::statEntry(destination, destination_); code != kOsOk)
                return destinationFailure(destination, fs::osErrorReason(code));
            return success();
        }
        if (destination_.kind != EntryKind::Folder)
            return destinationFailure(destination, "Der Pfad ist kein Ordner");
        clearLeftovers(destination);
        return success();
    }

    Result<> copyEntry(const std::string& source, const EntryInfo& info, const std::string& folder,
                       const std::string& name, const EntryInfo& target) {
        switch (info.kind) {
            case EntryKind::File:
                return copyFile(source, info, folder, name, target);
            case EntryKind::Folder:
                return copyFolder(source, info, folder, name, target);
            case EntryKind::Link:
                return copyLink(source, info, folder, name, target);
            case EntryKind::Special:  // sockets, FIFOs and devices are not backed up
            case EntryKind::Missing:
                break;
        }
        return success();
    }

    Result<> copyFolder(const std::string& source, const EntryInfo& info, const std::string& folder,
                        const std::string& name, const EntryInfo& target) {
        const std::string targetPath = fs::joinPath(folder, name);
        const bool fresh = target.kind == EntryKind::Missing;
        const std::uint64_t writesBefore = writes_;
        bool attributesChanged =
            fresh || target.permissions != info.permissions || target.modifiedNs != info.modifiedNs;
        if (fresh) {
            if (const OsCode code = fs::makeFolder(targetPath); code != kOsOk)
                return copyFailure(source, code);
            ++writes_;
        } else if (target.kind != EntryKind::Folder) {
            return copyFailure(source, "Am Ziel ist eine Datei gleichen Namens vorhanden");
        } else {
            clearLeftovers(targetPath);
            if (!fs::folderWritable(target)) {
                if (const OsCode code = fs::makeFolderWritable(targetPath, target); code != kOsOk)
                    return copyFailure(source, code);
                attributesChanged = true;
            }
        }
        if (top_.kind == EntryKind::Missing) {
            if (const OsCode code = fs::statEntry(targetPath, top_); code != kOsOk)
                return copyFailure(source, code);
        }

        std::vector<std::string> names;
        if (const OsCode code = fs::listFolder(source, names); code != kOsOk)
            return copyFailure(source, code);
        for (const std::string& childName : names) {
            const std::string child = fs::joinPath(source, childName);
            if (observer_.cancelRequested()) return copyFailure(child, fs::kOsCancelled);
            EntryInfo childInfo;
            if (const OsCode code = fs::statEntry(child, childInfo); code != kOsOk)
                return copyFailure(child, code);
            // Gone since the listing (a program's temporary file): nothing left to back up.
            if (childInfo.kind == EntryKind::Missing || childInfo.kind == EntryKind::Special)
                continue;
            // The destination, or the copy being made, inside the source: never copy into itself.
            if (childInfo.sameEntryAs(destination_) || childInfo.sameEntryAs(top_)) continue;
            EntryInfo childTarget;
            if (!fresh) {
                if (const OsCode code =
                        fs::statEntry(fs::joinPath(targetPath, childName), childTarget);
                    code != kOsOk) {
                    return copyFailure(child, code);
                }
            }
            if (Result<> copied = copyEntry(child, childInfo, targetPath, childName, childTarget);
                !copied) {
                return copied;
            }
        }
        // Last, because every entry written changes the folder's time.
        if (attributesChanged || writes_ != writesBefore) {
            if (const OsCode code = fs::applyAttributes(targetPath, info); code != kOsOk)
                return copyFailure(source, code);
        }
        return success();
    }

    Result<> copyFile(const std::string& source, const EntryInfo& info, const std::string& folder,
                      const std::string& name, const EntryInfo& target) {
        switch (target.kind) {
            case EntryKind::Missing:
                return writeEntry(source, folder, name, false, false, false);
            case EntryKind::File:
                if (target.sameEntryAs(info)) break;  // the source lies inside its own backup
                if (target.size == info.size && target.modifiedNs == info.modifiedNs) {
                    // Already current; only changed permissions are brought over.
                    if (target.permissions != info.permissions) {
                        const std::string targetPath = fs::joinPath(folder, name);
                        if (const OsCode code = fs::applyAttributes(targetPath, info);
                            code != kOsOk) {
                            return copyFailure(source, code);
                        }
                    }
                    break;
                }
                // The new data reach the disk before they replace the older backup.
                return writeEntry(source, folder, name, false, true, true);
            case EntryKind::Link:
            case EntryKind::Special:
                return writeEntry(source, folder, name, false, true, false);
            case EntryKind::Folder:
                return copyFailure(source, "Am Ziel ist ein Ordner gleichen Namens vorhanden");
        }
        fileDone(info.size);
        return success();
    }

    Result<> copyLink(const std::string& source, const EntryInfo& info, const std::string& folder,
                      const std::string& name, const EntryInfo& target) {
        switch (target.kind) {
            case EntryKind::Missing:
                return writeEntry(source, folder, name, true, false, false);
            case EntryKind::File:
            case EntryKind::Special:
                return writeEntry(source, folder, name, true, true, false);
            case EntryKind::Link:
                // A link's size is the length of what it points to; with its time that marks
                // an unchanged link, as for files.
                if (target.size == info.size && target.modifiedNs == info.modifiedNs) break;
                return writeEntry(source, folder, name, true, true, false);
            case EntryKind::Folder:
                return copyFailure(source, "Am Ziel ist ein Ordner gleichen Namens vorhanden");
        }
        fileDone(0);
        return success();
    }

    // A new item is written in place: should the run be cut short, the partial file lacks
    // the source's time and the next run copies it again. An existing item is replaced
    // through a temporary file beside it and one rename, so the target is always either the
    // older backup or the complete new one.
    Result<> writeEntry(const std::string& source, const std::string& folder,
                        const std::string& name, bool link, bool replace, bool syncData) {
        const std::string target = fs::joinPath(folder, name);
        const std::string written =
            replace ? fs::joinPath(folder, temporaryName(name, random_())) : target;
        const OsCode copied = link ? fs::copyLink(source, written)
                                   : fs::copyFileData(source, written, syncData, *this, context_);
        if (copied != kOsOk) return copyFailure(source, copied);
        if (replace) {
            if (const OsCode code = fs::replaceEntry(written, target); code != kOsOk) {
                fs::removeQuietly(written);
                return copyFailure(source, code);
            }
        }
        ++writes_;
        fileDone(0);
        return success();
    }

    // Removes temporary files that a crashed earlier run left in a folder we write to.
    void clearLeftovers(const std::string& folder) {
        if (fs::listFolder(folder, scratch_) != kOsOk) return;  // writing will report the cause
        for (const std::string& name : scratch_) {
            if (!isTemporaryName(name)) continue;
            fs::removeQuietly(fs::joinPath(folder, name));
            ++writes_;
        }
    }

    void fileDone(std::uint64_t bytesLeftAlone) {
        ++progress_.filesDone;
        progress_.bytesDone += bytesLeftAlone;
        unreported_ = 0;
        observer_.onProgress(progress_);
    }

    OsCode afterChunk(std::uint64_t bytes) override {
        bytesWritten_ += bytes;
        progress_.bytesDone += bytes;
        unreported_ += bytes;
        if (const OsCode code = faults_.afterChunk(bytesWritten_); code != kOsOk) return code;
        if (observer_.cancelRequested()) return fs::kOsCancelled;
        if (unreported_ >= fs::kCopyChunkBytes) {
            unreported_ = 0;
            observer_.onProgress(progress_);
        }
        return kOsOk;
    }

    const bool newCopy_;
    CopyObserver& observer_;
    CopyFaults& faults_;
    std::mt19937 random_;
    fs::CopyContext context_;
    CopyProgress progress_;
    std::uint64_t bytesWritten_ = 0;
    std::uint64_t unreported_ = 0;
    std::uint64_t writes_ = 0;  // entries made, replaced or removed in the target folders
    EntryInfo destination_;     // never walked into when it lies inside the source
    EntryInfo top_;             // the folder the source lands in, likewise
    std::vector<std::string> scratch_;
};

}  // namespace

Result<> CopyToFolder(const std::string& source, const std::string& destination, unsigned flags,
                      CopyObserver& observer) {
    NoFaults none;
    return CopyToFolderWithFaults(source, destination, flags, observer, none);
}

Result<> CopyToFolderWithFaults(const std::string& source, const std::string& destination,
                                unsigned flags, CopyObserver& observer, CopyFaults& faults) {
    TreeCopier copier(flags, observer, faults);
    return copier.run(source, destination);
}

}  // namespace vaultrix
