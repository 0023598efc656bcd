#include "shell/helper_job_queue.h"

#include <algorithm>

#include "shell/tool_process.h"

std::size_t HelperJobQueue::add(HelperJob job, Place place) {
    if (place == First)
        queued_.emplace_front(added_, std::move(job));
    else
        queued_.emplace_back(added_, std::move(job));
    return added_++;
}

void HelperJobQueue::collect(int milliseconds) {
    collected_.clear();
    runner_.collect(milliseconds, collected_);
    for (HelperRunner::Finished& done : collected_)
        if (running_.erase(done.id) > 0) finished_.emplace(done.id, std::move(done.result));
}

void HelperJobQueue::startQueued() {
    while (!queued_.empty() && runner_.start(queued_.front().first, queued_.front().second)) {
        running_.insert(queued_.front().first);
        queued_.pop_front();
    }
}

// Results are collected only when jobs wait for room: asking costs a system call per worker.
void HelperJobQueue::keepRunning() {
    startQueued();
    if (queued_.empty() || running_.empty()) return;
    collect(0);
    startQueued();
}

ToolResult HelperJobQueue::take(std::size_t id, const std::function<void()>& whileWaiting) {
    // The jobs queued ahead of it start first; it starts as they make room.
    for (startQueued(); finished_.count(id) == 0; startQueued()) {
        if (running_.empty()) return {-1, {}};  // never added, or already taken
        collect(ToolProcess::kPauseMilliseconds);
        if (whileWaiting) whileWaiting();
    }
    ToolResult result = std::move(finished_.at(id));
    finished_.erase(id);
    keepRunning();  // the other cores keep working while the caller handles this result
    return result;
}

void HelperJobQueue::drop(std::size_t id) {
    auto queued = std::find_if(queued_.begin(), queued_.end(), [id](const auto& job) { return job.first == id; });
    if (queued != queued_.end()) {
        queued_.erase(queued);
        return;
    }
    while (running_.count(id) > 0) collect(ToolProcess::kPauseMilliseconds);
    finished_.erase(id);
}
