#include "engine/TimeLeft.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vaultrix {

TimeLeftEstimate::TimeLeftEstimate(Now now) : now_(std::move(now)) {
    restart();
}

void TimeLeftEstimate::restart() {
    samples_.clear();
    samples_.push_back(Sample{now_(), 0});
}

void TimeLeftEstimate::add(std::uint64_t bytesDone) {
    // Only new bytes make a sample, so the last one marks when bytes last moved.
    if (bytesDone <= samples_.back().bytes) return;
    const Sample sample{now_(), bytesDone};
    // After a stall the rate is taken afresh: the seconds before it tell nothing of it.
    if (sample.at - samples_.back().at >= kStall) samples_.clear();
    samples_.push_back(sample);
    const Clock::time_point windowStart = samples_.back().at - kWindow;
    while (samples_.size() > 1 && samples_[1].at <= windowStart) samples_.pop_front();
}

std::optional<std::chrono::seconds> TimeLeftEstimate::timeLeft(std::uint64_t bytesTotal) const {
    using Seconds = std::chrono::duration<double>;
    const Sample& first = samples_.front();
    const Sample& last = samples_.back();
    const Clock::duration span = last.at - first.at;
    const Clock::duration sinceLast = now_() - last.at;
    if (samples_.size() < 2 || span < kFirstRate || sinceLast >= kStall) return std::nullopt;
    const double rate = double(last.bytes - first.bytes) / Seconds(span).count();
    const double left = double(bytesTotal > last.bytes ? bytesTotal - last.bytes : 0) / rate;
    // Counted down from the last report, for the seconds until the next one; held below what a
    // count of seconds can take.
    const double fromNow = std::clamp(left - Seconds(sinceLast).count(), 0.0, 1e12);
    return std::chrono::seconds(static_cast<std::int64_t>(std::ceil(fromNow)));
}

}  // namespace vaultrix
