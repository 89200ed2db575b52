#include "engine/PathProbe.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/Eventually.h"
#include "support/Gate.h"

namespace vaultrix {
namespace {

using test::eventually;
using test::Gate;
using Given = std::pair<std::uint64_t, std::vector<bool>>;

// A drive behind a gate, on which every path but "fehlt" exists; it notes the paths tested.
struct SlowDrive {
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    std::shared_ptr<std::vector<std::string>> tested = std::make_shared<std::vector<std::string>>();
    // Answers as they came.
    std::shared_ptr<std::vector<Given>> answers = std::make_shared<std::vector<Given>>();
    std::shared_ptr<std::mutex> mutex = std::make_shared<std::mutex>();

    PathTest test() const {
        return [gate = gate, tested = tested, mutex = mutex](const std::string& path) {
            {
                std::lock_guard lock(*mutex);
                tested->push_back(path);
            }
            gate->enter();
            return path != "fehlt";
        };
    }
    PathProbe::Answer answer() const {
        return [answers = answers, mutex = mutex](std::uint64_t ticket, std::vector<bool> results) {
            std::lock_guard lock(*mutex);
            answers->emplace_back(ticket, std::move(results));
        };
    }
    std::vector<Given> given() const {
        std::lock_guard lock(*mutex);
        return *answers;
    }
    std::vector<std::string> paths() const {
        std::lock_guard lock(*mutex);
        return *tested;
    }
};

TEST(PathProbe, AnswersFromItsOwnThreadWithOneResultPerPathInOrder) {
    SlowDrive drive;
    drive.gate->open();
    PathProbe probe(drive.test(), drive.answer());
    const std::uint64_t ticket = probe.request({"a", "fehlt", "b"});
    EXPECT_NE(ticket, 0u);
    ASSERT_TRUE(eventually([&] { return drive.given().size() == 1; }));
    EXPECT_EQ(drive.given()[0], Given(ticket, {true, false, true}));
    for (const std::thread::id caller : drive.gate->callers()) {
        EXPECT_NE(caller, std::this_thread::get_id());
    }

    // A later request gets a ticket of its own, also once the thread has ended.
    const std::uint64_t next = probe.request({"c"});
    EXPECT_NE(next, ticket);
    ASSERT_TRUE(eventually([&] { return drive.given().size() == 2; }));
    EXPECT_EQ(drive.given()[1], Given(next, {true}));
}

TEST(PathProbe, WhileAPathHangsOnlyTheNewestRequestWaitsForTheOneThread) {
    SlowDrive drive;
    PathProbe probe(drive.test(), drive.answer());
    probe.request({"a", "b"});
    ASSERT_TRUE(eventually([&] { return drive.gate->arrived() == 1; }));
    probe.request({"c"});
    probe.request({"d"});
    const std::uint64_t newest = probe.request({"fehlt"});
    // "a" answers: its request has been overtaken, so "b" is never tested.
    drive.gate->letThrough();
    ASSERT_TRUE(eventually([&] { return drive.gate->arrived() == 2; }));
    drive.gate->open();
    ASSERT_TRUE(eventually([&] { return drive.given().size() == 1; }));
    EXPECT_EQ(drive.given()[0], Given(newest, {false}));
    EXPECT_EQ(drive.paths(), (std::vector<std::string>{"a", "fehlt"}));
    const std::vector<std::thread::id> callers = drive.gate->callers();
    EXPECT_EQ(callers[0], callers[1]);
}

TEST(PathProbe, AProbeGoneAnswersNothingAndItsThreadEndsOnceTheTestReturns) {
    SlowDrive drive;
    {
        PathProbe probe(drive.test(), drive.answer());
        probe.request({"a"});
        ASSERT_TRUE(eventually([&] { return drive.gate->arrived() == 1; }));
        // Gone while the path hangs, without waiting for it.
    }
    drive.gate->open();
    // The ended thread lets go of the test and with it of the gate.
    ASSERT_TRUE(eventually([&] { return drive.gate.use_count() == 1; }));
    EXPECT_TRUE(drive.given().empty());
}

}  // namespace
}  // namespace vaultrix
