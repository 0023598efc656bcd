// Jobs handed to a runner in the order they were added, no more at once than the runner takes;
// their results are taken by the caller one by one, in whatever order it needs them, while the
// others go on. Both the unzip and the compression pass run their zlibc jobs through it.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "shell/helper_job.h"

class HelperJobQueue {
public:
    explicit HelperJobQueue(HelperRunner& runner) : runner_(runner) {}
    HelperJobQueue(const HelperJobQueue&) = delete;
    HelperJobQueue& operator=(const HelperJobQueue&) = delete;

    enum Place { Last, First };
    // Queues a job, behind the others or ahead of them; gives its number, counting from 0.
    std::size_t add(HelperJob job, Place place = Last);
    // Finished jobs make room for queued ones; never waits.
    void keepRunning();
    // Job `id`'s result, waited for while the other jobs go on; `whileWaiting` is called about
    // every 16 ms meanwhile.
    ToolResult take(std::size_t id, const std::function<void()>& whileWaiting = {});
    // Job `id` is no longer wanted: a queued job never runs, a running one is waited for.
    void drop(std::size_t id);

private:
    void startQueued();
    void collect(int milliseconds);

    HelperRunner& runner_;
    std::size_t added_ = 0;
    std::deque<std::pair<std::size_t, HelperJob>> queued_;
    std::set<std::size_t> running_;
    std::map<std::size_t, ToolResult> finished_;
    std::vector<HelperRunner::Finished> collected_;
};
