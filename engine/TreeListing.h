#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/ThreadSlots.h"

namespace vaultrix {

// One entry the tree thread listed. Each gets a number of its own, by which a later listing of
// the folder names the tree item it belongs under.
struct TreeEntry {
    std::uint64_t id = 0;
    std::string name;
    bool folder = false;
};

// Entries for one tree item (parent 0: the roots), in listing order. A large folder comes in
// several pieces, one after the other.
struct TreePiece {
    std::uint64_t generation = 0;  // the fill the entries belong to
    std::uint64_t parent = 0;
    std::vector<TreeEntry> entries;
    bool fillEnded = false;  // the last piece of a fill: the roots and their entries are all sent
};

// Where the tree thread leaves its pieces. The window implements it with queued calls.
class TreeSink {
public:
    virtual ~TreeSink() = default;
    virtual void deliverTreePiece(TreePiece piece) = 0;
};

// The listings the folder tree waits for, listed in order by the tree thread and sent off in
// pieces, so the window thread takes a large folder bit by bit and never waits for a listing.
// A fill lists the roots and one level below each; a folder listing one folder.
//
// The window thread queues; when a queue call returns true no thread serves the jobs, and the
// caller starts serve() on the tree thread (until that succeeds it owes that start).
class TreeListing {
public:
    static constexpr std::size_t kPieceSize = 1000;
    // The tops of the tree, sorted, each one that can be listed (fs::volumeRoots).
    using Roots = std::function<std::vector<std::string>()>;

    explicit TreeListing(Roots roots);

    // Forgets the jobs still waiting and queues a fill of this (newer) generation. The job in
    // progress stops at its next piece.
    bool queueFill(std::uint64_t generation);
    // Queues the listing of the folder at `path` for the tree item `item`.
    bool queueFolder(std::uint64_t generation, std::uint64_t item, std::string path);

    // The tree thread's work: lists the queued jobs until none is left or a stop is requested.
    void serve(SlotControl& control, TreeSink& sink);

private:
    struct Job {
        std::uint64_t generation;
        std::uint64_t item;  // 0: a fill
        std::string path;
    };

    bool queue(Job job);
    bool current(std::uint64_t generation) const;
    // Lists the folder and sends its entries under `parent`; false when the job was given up.
    bool sendFolder(SlotControl& control, TreeSink& sink, std::uint64_t generation,
                    std::uint64_t parent, const std::string& path);

    const Roots roots_;
    mutable std::mutex mutex_;
    std::deque<Job> jobs_;
    std::uint64_t generation_ = 0;
    bool serving_ = false;
    std::uint64_t nextId_ = 1;  // only the serving thread uses it
};

}  // namespace vaultrix
