#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vaultrix {

// A test of one path that may take as long as the drive or share behind it does (PathExists,
// fs::isFolderPath).
using PathTest = std::function<bool(const std::string&)>;

// Tests paths on a thread of its own, so a drive or network share that does not answer never
// holds up the window thread. At most one thread serves a probe, and of the requests waiting
// for it only the newest is kept: a share that hangs neither piles up threads nor work. Each
// request gets a ticket, and its answer carries it; the asker keeps the ticket of what it shows
// and drops every other answer.
class PathProbe {
public:
    // Called on the probe's thread with a request's ticket and one result per path, in order.
    // It must not wait for the window thread (the window implements it with a queued call).
    using Answer = std::function<void(std::uint64_t ticket, std::vector<bool> results)>;

    PathProbe(PathTest test, Answer answer);
    // Answers nothing more; a test in progress ends on its thread, which ends with it.
    ~PathProbe();
    PathProbe(const PathProbe&) = delete;
    PathProbe& operator=(const PathProbe&) = delete;

    // Queues the paths in place of a request that still waits, and returns the request's ticket
    // (never 0). A request overtaken by a newer one is given up before its next path, unanswered.
    std::uint64_t request(std::vector<std::string> paths);

private:
    struct Shared;
    static void serve(const std::shared_ptr<Shared>& shared);

    // Shared with the thread, which may outlive the probe.
    std::shared_ptr<Shared> shared_;
};

}  // namespace vaultrix
