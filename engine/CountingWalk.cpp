#include "engine/CountingWalk.h"

namespace vaultrix {
namespace {

using fs::EntryInfo;
using fs::EntryKind;
using fs::kOsOk;

// Walks folder by folder like the copy, so its memory is one folder's names per level.
class SourceCounter {
public:
    SourceCounter(const std::string& destination, const std::function<bool()>& stopRequested)
        : destination_(fs::normalisePath(destination)), stopRequested_(stopRequested) {}

    void countSource(const std::string& given) {
        const std::string source = fs::normalisePath(given);
        const std::string name = fs::lastName(source);
        if (!fs::isEntryName(name)) return;
        EntryInfo info;
        if (fs::statEntry(source, info) != kOsOk || info.kind == EntryKind::Special) return;
        if (info.sameEntryAs(destinationInfo())) return;
        countEntry(source, info);
    }

    bool stopped() const { return stopRequested_(); }
    const CopyProgress& total() const { return total_; }

private:
    void countEntry(const std::string& path, const EntryInfo& info) {
        switch (info.kind) {
            case EntryKind::File:
                ++total_.filesDone;
                total_.bytesDone += info.size;
                break;
            case EntryKind::Link:  // the copy reports a link as a file without bytes
                ++total_.filesDone;
                break;
            case EntryKind::Folder:
                countFolder(path);
                break;
            case EntryKind::Special:
            case EntryKind::Missing:
                break;
        }
    }

    void countFolder(const std::string& folder) {
        std::vector<std::string> names;
        if (fs::listFolder(folder, names) != kOsOk) return;
        for (const std::string& name : names) {
            if (stopped()) return;
            const std::string child = fs::joinPath(folder, name);
            EntryInfo info;
            if (fs::statEntry(child, info) != kOsOk) continue;
            if (info.kind == EntryKind::Folder && info.sameEntryAs(destinationInfo())) continue;
            countEntry(child, info);
        }
    }

    // Read again while it is missing: the copy makes it as it starts, perhaps inside a source.
    const EntryInfo& destinationInfo() {
        if (destinationInfo_.kind == EntryKind::Missing &&
            fs::statEntry(destination_, destinationInfo_, true) != kOsOk) {
            destinationInfo_ = EntryInfo{};
        }
        return destinationInfo_;
    }

    const std::string destination_;
    const std::function<bool()>& stopRequested_;
    EntryInfo destinationInfo_;
    CopyProgress total_;
};

}  // namespace

std::optional<CopyProgress> countSources(const std::vector<std::string>& sources,
                                         const std::string& destination, std::stop_token stop) {
    return countSourcesUntil(sources, destination, [&stop] { return stop.stop_requested(); });
}

std::optional<CopyProgress> countSourcesUntil(const std::vector<std::string>& sources,
                                              const std::string& destination,
                                              const std::function<bool()>& stopRequested) {
    SourceCounter counter(destination, stopRequested);
    for (const std::string& source : sources) {
        if (counter.stopped()) break;
        counter.countSource(source);
    }
    if (counter.stopped()) return std::nullopt;
    return counter.total();
}

}  // namespace vaultrix
