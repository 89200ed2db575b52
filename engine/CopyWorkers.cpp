#include "engine/CopyWorkers.h"

#include <utility>

namespace vaultrix {
namespace {

// Jobs waiting per worker: enough to keep every worker busy while the walk lists and looks.
constexpr std::size_t kQueuedPerWorker = 4;

}  // namespace

void CopyJobGroup::added() {
    std::lock_guard lock(mutex_);
    ++outstanding_;
}

void CopyJobGroup::done() {
    std::lock_guard lock(mutex_);
    if (--outstanding_ == 0) idle_.notify_all();
}

void CopyJobGroup::wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return outstanding_ == 0; });
}

CopyWorkers::CopyWorkers(unsigned count) : capacity_(kQueuedPerWorker * count) {
    if (count <= 1) return;
    threads_.reserve(count);
    for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
}

CopyWorkers::~CopyWorkers() {
    join();
}

void CopyWorkers::run(CopyJobGroup& group, Job job) {
    group.added();
    if (threads_.empty()) {
        job(inlineContext_);
        group.done();
        return;
    }
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [this] { return queue_.size() < capacity_; });
    queue_.push_back(Queued{&group, std::move(job)});
    queued_.notify_one();
}

void CopyWorkers::join() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    queued_.notify_all();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}

void CopyWorkers::work() {
    fs::CopyContext context;
    for (;;) {
        Queued next;
        {
            std::unique_lock lock(mutex_);
            queued_.wait(lock, [this] { return ending_ || !queue_.empty(); });
            if (queue_.empty()) return;
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        taken_.notify_one();
        next.job(context);
        next.group->done();
    }
}

}  // namespace vaultrix
