#include "shell/one_shot_runner.h"

#include <algorithm>

#include "shell/compression_tool.h"

OneShotRunner::OneShotRunner(std::filesystem::path program, int width)
    : program_(std::move(program)), width_(static_cast<std::size_t>(std::max(1, width))) {}

bool OneShotRunner::start(std::size_t id, const HelperJob& job) {
    if (running_.size() + unstarted_.size() >= width_) return false;
    auto run = std::make_unique<ToolProcess>();
    if (run->start(zlibcCommand(program_, job)))
        running_.emplace(id, std::move(run));
    else
        unstarted_.push_back({id, {-1, {}}});
    return true;
}

void OneShotRunner::collect(int milliseconds, std::vector<Finished>& finished) {
    if (unstarted_.empty() && !running_.empty()) {
        waitingFor_.clear();
        for (auto& [id, run] : running_) waitingFor_.push_back(run.get());
        if (std::none_of(waitingFor_.begin(), waitingFor_.end(), [](ToolProcess* run) { return run->ended(); }))
            ToolProcess::waitForAny(waitingFor_, milliseconds);
    }
    for (Finished& done : unstarted_) finished.push_back(std::move(done));
    unstarted_.clear();
    for (auto run = running_.begin(); run != running_.end();) {
        if (!run->second->ended()) {
            ++run;
            continue;
        }
        std::int32_t exitCode = run->second->finish();
        finished.push_back({run->first, {exitCode, run->second->errors()}});
        run = running_.erase(run);
    }
}
