#include "engine/CopyFailures.h"

#include <utility>

namespace vaultrix {

CopyFailures::CopyFailures(CopyObserver& observer, const CopyDestination& destination)
    : observer_(observer), destination_(destination) {}

CopyFailures::Step CopyFailures::nextStep() {
    return ++walkStep_;
}

void CopyFailures::hold(Step step) {
    std::lock_guard lock(mutex_);
    held_.insert(step);
}

void CopyFailures::release(Step step) {
    std::lock_guard lock(mutex_);
    held_.erase(step);
    tellReady();
}

bool CopyFailures::report(Error error) {
    return add(walkStep_, std::move(error), false);
}

bool CopyFailures::fail(const std::string& path, const std::string& reason) {
    return report(failure("'" + path + "' konnte nicht kopiert werden: " + reason, path));
}

bool CopyFailures::fail(const std::string& path, fs::OsCode code) {
    return fail(walkStep_, path, code);
}

bool CopyFailures::fail(Step step, const std::string& path, fs::OsCode code) {
    if (fs::entryNotFound(code)) {
        if (std::optional<Error> gone = destination_.gone())
            return add(step, std::move(*gone), true);
    }
    const bool stops = code == fs::kOsCancelled || fs::destinationExhausted(code);
    return add(
        step,
        failure("'" + path + "' konnte nicht kopiert werden: " + fs::osErrorReason(code), path),
        stops);
}

bool CopyFailures::add(Step step, Error error, bool stops) {
    std::lock_guard lock(mutex_);
    if (stopStep_ && step > *stopStep_) return false;
    if (stops) {
        // Whatever failed later in the tree followed from this: only this one is told.
        waiting_.erase(waiting_.upper_bound(step), waiting_.end());
        stopStep_ = step;
        stopped_.store(true, std::memory_order_release);
    }
    waiting_[step].push_back(std::move(error));
    tellReady();
    return false;
}

// Tells, in the order of their steps, the failures no held step comes before. Under the lock,
// so two threads never tell out of order.
void CopyFailures::tellReady() {
    while (!waiting_.empty() && (held_.empty() || waiting_.begin()->first < *held_.begin())) {
        for (Error& error : waiting_.begin()->second) {
            observer_.onFailure(error);
            if (!first_) first_ = std::move(error);
        }
        waiting_.erase(waiting_.begin());
    }
}

Result<> CopyFailures::result() const {
    if (first_) return *first_;
    return success();
}

}  // namespace vaultrix
