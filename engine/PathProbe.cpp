#include "engine/PathProbe.h"

#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/ThreadSlots.h"

namespace vaultrix {

struct PathProbe::Shared {
    struct Request {
        std::uint64_t ticket;
        std::vector<std::string> paths;
    };

    explicit Shared(PathTest givenTest) : test(std::move(givenTest)) {}

    const PathTest test;
    std::mutex mutex;
    Answer answer;  // empty once the probe is gone
    std::optional<Request> waiting;
    std::uint64_t lastTicket = 0;
    bool serving = false;
};

PathProbe::PathProbe(PathTest test, Answer answer)
    : shared_(std::make_shared<Shared>(std::move(test))) {
    shared_->answer = std::move(answer);
}

PathProbe::~PathProbe() {
    std::lock_guard lock(shared_->mutex);
    shared_->answer = nullptr;
    shared_->waiting.reset();
}

std::uint64_t PathProbe::request(std::vector<std::string> paths) {
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(shared_->mutex);
        ticket = ++shared_->lastTicket;
        shared_->waiting = Shared::Request{ticket, std::move(paths)};
        if (shared_->serving) return ticket;
        shared_->serving = true;
    }
    try {
        std::thread([shared = shared_] { serve(shared); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the request stays unanswered, as one given up is.
        std::lock_guard lock(shared_->mutex);
        shared_->serving = false;
        shared_->waiting.reset();
    }
    return ticket;
}

void PathProbe::serve(const std::shared_ptr<Shared>& shared) {
    reportThreadName("pfadtest thread");
    for (;;) {
        Shared::Request request;
        {
            std::lock_guard lock(shared->mutex);
            // Given up together with the test for work, so a later request starts a thread.
            if (!shared->waiting) {
                shared->serving = false;
                return;
            }
            request = std::move(*shared->waiting);
            shared->waiting.reset();
        }
        std::vector<bool> results;
        for (const std::string& path : request.paths) {
            if (!results.empty()) {
                std::lock_guard lock(shared->mutex);
                // A newer request makes this one's answer worthless: on to that one.
                if (shared->waiting || !shared->answer) break;
            }
            results.push_back(shared->test(path));
        }
        std::lock_guard lock(shared->mutex);
        if (results.size() == request.paths.size() && shared->answer) {
            shared->answer(request.ticket, std::move(results));
        }
    }
}

}  // namespace vaultrix
