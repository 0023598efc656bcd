// Jobs run as one zlibc process each, up to `width` at once: the way of any zlibc that does not
// serve jobs.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "shell/helper_job.h"
#include "shell/tool_process.h"

class OneShotRunner : public HelperRunner {
public:
    OneShotRunner(std::filesystem::path program, int width);
    bool start(std::size_t id, const HelperJob& job) override;
    void collect(int milliseconds, std::vector<Finished>& finished) override;

private:
    std::filesystem::path program_;
    std::size_t width_;
    std::map<std::size_t, std::unique_ptr<ToolProcess>> running_;
    std::vector<Finished> unstarted_;  // jobs whose program could not start
    std::vector<ToolProcess*> waitingFor_;
};
