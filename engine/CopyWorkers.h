#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/FileCopy.h"

namespace vaultrix {

// How many entries a copy writes at once. Measured on a share that waits 1 ms per operation
// and on a local disk: eight workers cut a first copy of small files onto the share to about a
// quarter and cost nothing locally; more gain little and hold more files open.
inline constexpr unsigned kCopyWorkers = 8;

// The jobs of one folder (or of one entry built whole) handed to the workers: the walk waits
// for them before it gives the folder its attributes or lets the entry take its place.
class CopyJobGroup {
public:
    void added();
    void done();
    // Returns once every job added so far is done.
    void wait();

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    std::size_t outstanding_ = 0;
};

// A small pool of threads that write the entries the walk hands them, each with its own copy
// context. The queue is bounded: the walk waits while it is full, so memory stays small
// whatever the tree. With one worker every job runs at once on the walk's own thread.
class CopyWorkers {
public:
    using Job = std::function<void(fs::CopyContext&)>;

    explicit CopyWorkers(unsigned count);
    // Joins the threads after every job is done.
    ~CopyWorkers();
    CopyWorkers(const CopyWorkers&) = delete;
    CopyWorkers& operator=(const CopyWorkers&) = delete;

    // Runs the job on a worker as one of the group's; blocks while the queue is full.
    void run(CopyJobGroup& group, Job job);
    // Waits for every job and ends the threads; nothing may be run afterwards.
    void join();

private:
    struct Queued {
        CopyJobGroup* group;
        Job job;
    };
    void work();

    std::mutex mutex_;
    std::condition_variable queued_;  // a job waits, or the pool ends
    std::condition_variable taken_;   // room in the queue
    std::deque<Queued> queue_;
    std::size_t capacity_;
    bool ending_ = false;
    fs::CopyContext inlineContext_;
    std::vector<std::thread> threads_;
};

}  // namespace vaultrix
