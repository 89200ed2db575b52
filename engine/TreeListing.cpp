#include "engine/TreeListing.h"

#include <algorithm>
#include <utility>

#include "platform/FolderListing.h"

namespace vaultrix {

TreeListing::TreeListing(Roots roots) : roots_(std::move(roots)) {}

bool TreeListing::queueFill(std::uint64_t generation) {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();
        generation_ = generation;
    }
    return queue(Job{generation, 0, {}});
}

bool TreeListing::queueFolder(std::uint64_t generation, std::uint64_t item, std::string path) {
    return queue(Job{generation, item, std::move(path)});
}

bool TreeListing::queue(Job job) {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    if (serving_) return false;
    serving_ = true;
    return true;
}

bool TreeListing::current(std::uint64_t generation) const {
    std::lock_guard lock(mutex_);
    return generation == generation_;
}

void TreeListing::serve(SlotControl& control, TreeSink& sink) {
    for (;;) {
        Job job;
        {
            std::lock_guard lock(mutex_);
            // Given up together with the test for work, so a job queued later starts a thread.
            if (jobs_.empty() || control.StopRequested()) {
                serving_ = false;
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        if (job.item != 0) {
            sendFolder(control, sink, job.generation, job.item, job.path);
            continue;
        }
        TreePiece roots{job.generation, 0, {}, false};
        for (std::string& root : roots_()) {
            roots.entries.push_back(TreeEntry{nextId_++, std::move(root), true});
        }
        const std::vector<TreeEntry> listed = roots.entries;
        sink.deliverTreePiece(std::move(roots));
        bool complete = true;
        for (const TreeEntry& root : listed) {
            complete = complete && sendFolder(control, sink, job.generation, root.id, root.name);
        }
        if (complete) sink.deliverTreePiece(TreePiece{job.generation, 0, {}, true});
    }
}

bool TreeListing::sendFolder(SlotControl& control, TreeSink& sink, std::uint64_t generation,
                             std::uint64_t parent, const std::string& path) {
    std::vector<fs::FolderEntry> entries;
    // A folder that cannot be listed simply gets no children.
    static_cast<void>(fs::listFolderEntries(path, entries));
    for (std::size_t begin = 0; begin < entries.size(); begin += kPieceSize) {
        if (control.StopRequested() || !current(generation)) return false;
        TreePiece piece{generation, parent, {}, false};
        const std::size_t end = std::min(entries.size(), begin + kPieceSize);
        piece.entries.reserve(end - begin);
        for (std::size_t i = begin; i < end; ++i) {
            piece.entries.push_back(
                TreeEntry{nextId_++, std::move(entries[i].name), entries[i].folder});
        }
        sink.deliverTreePiece(std::move(piece));
    }
    return true;
}

}  // namespace vaultrix
