// The job queue over a runner that only pretends: jobs that end out of order, a failure among
// many, a worker that dies, one job at a time and eight.
#include "shell/helper_job_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// Job i ends after `rounds(i)` collects with exit code `code(i)` and "job <input>" as errors.
struct FakeRunner : HelperRunner {
    std::size_t width;
    std::function<int(std::size_t)> rounds, code;
    std::map<std::size_t, std::pair<int, std::string>> running;  // id: rounds left, input
    std::vector<std::string> startOrder;
    std::size_t mostAtOnce = 0;

    bool start(std::size_t id, const HelperJob& job) override {
        if (running.size() >= width) return false;
        running[id] = {rounds(id), job.in.string()};
        startOrder.push_back(job.in.string());
        mostAtOnce = std::max(mostAtOnce, running.size());
        return true;
    }
    void collect(int, std::vector<Finished>& finished) override {
        for (auto job = running.begin(); job != running.end();)
            if (--job->second.first > 0)
                ++job;
            else
                finished.push_back({job->first, {code(job->first), "job " + job->second.second}}),
                    job = running.erase(job);
    }
};

struct QueueCase {
    const char* what;
    std::size_t width, jobs;
    std::function<int(std::size_t)> rounds, code;
    bool takeBackwards;
};

}  // namespace

TEST(HelperJobQueue, EachResultReachesItsJobWhateverOrderTheyEndInAndNoMoreRunThanTheRunnerTakes) {
    const std::vector<QueueCase> cases = {
        {"later jobs end first", 4, 40, [](std::size_t i) { return 1 + static_cast<int>(40 - i) % 7; },
         [](std::size_t) { return 0; }, false},
        {"a failure among many", 2, 30, [](std::size_t) { return 1; },
         [](std::size_t i) { return i == 17 ? 1 : 0; }, false},
        {"a dying worker's job, then fresh ones", 8, 50, [](std::size_t i) { return 1 + static_cast<int>(i % 3); },
         [](std::size_t i) { return i == 9 ? 137 : 0; }, false},
        {"one at a time", 1, 12, [](std::size_t i) { return 1 + static_cast<int>(i % 2); },
         [](std::size_t i) { return i % 5 == 0 ? -1 : 0; }, false},
        {"eight at once, taken backwards", 8, 64, [](std::size_t i) { return 1 + static_cast<int>(i % 5); },
         [](std::size_t) { return 0; }, true},
    };
    for (const QueueCase& c : cases) {
        FakeRunner runner;
        runner.width = c.width, runner.rounds = c.rounds, runner.code = c.code;
        HelperJobQueue queue(runner);
        std::vector<std::size_t> ids;
        std::vector<std::string> added;
        for (std::size_t i = 0; i < c.jobs; ++i) {
            added.push_back("in" + std::to_string(i));
            ids.push_back(queue.add({true, added.back(), "out"}));
        }
        int waits = 0;
        for (std::size_t n = 0; n < c.jobs; ++n) {
            const std::size_t i = c.takeBackwards ? c.jobs - 1 - n : n;
            ToolResult result = queue.take(ids[i], [&] { ++waits; });
            EXPECT_EQ(result.exitCode, c.code(i)) << c.what << " " << i;
            EXPECT_EQ(result.errors, "job in" + std::to_string(i)) << c.what;
        }
        EXPECT_EQ(runner.startOrder, added) << c.what;
        EXPECT_EQ(runner.mostAtOnce, std::min(c.width, c.jobs)) << c.what;
        EXPECT_GT(waits, 0) << c.what;
    }
}

TEST(HelperJobQueue, ADroppedJobNeverRunsAJobPutFirstRunsNextAndAnUnknownOneGivesMinusOne) {
    FakeRunner runner;
    runner.width = 1, runner.rounds = [](std::size_t) { return 2; }, runner.code = [](std::size_t) { return 0; };
    HelperJobQueue queue(runner);
    const std::size_t a = queue.add({true, "a", "out"}), b = queue.add({true, "b", "out"});
    queue.add({true, "c", "out"});
    queue.keepRunning();  // "a" runs
    queue.drop(b);
    const std::size_t first = queue.add({true, "first", "out"}, HelperJobQueue::First);
    EXPECT_EQ(queue.take(first).errors, "job first");
    queue.drop(a);  // already finished: its result goes
    EXPECT_EQ(queue.take(a).exitCode, -1);
    EXPECT_EQ(queue.take(99).exitCode, -1);
    EXPECT_EQ(runner.startOrder, (std::vector<std::string>{"a", "first", "c"}));
}
