// zlibc jobs run by up to `width` workers of `zlibc --serve`, each started when a job first needs
// it. A zlibc that does not serve jobs (a foreign or older one) is found out by its first
// worker; from then on, its jobs and every later one run as one process each. A worker that
// dies takes only the job it was doing with it: the jobs it held behind that one go to a fresh
// worker.
#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/helper_job.h"
#include "shell/one_shot_runner.h"
#include "shell/zlibc_worker.h"

// Why a zlibc job failed, in zlibc's own words where it gave any.
std::string zlibcFailureReason(const ToolResult& result);

class ZlibcRunner : public HelperRunner {
public:
    ZlibcRunner(std::filesystem::path program, int width);
    ~ZlibcRunner() override;
    bool start(std::size_t id, const HelperJob& job) override;
    void collect(int milliseconds, std::vector<Finished>& finished) override;

private:
    using Job = std::pair<std::size_t, HelperJob>;
    struct Slot {
        std::unique_ptr<ZlibcWorker> worker;
        std::deque<Job> jobs;  // those it holds, oldest first
    };
    bool place(const Job& job);
    void placeWaitingJobs();
    void useOneShotRuns();

    std::filesystem::path program_;
    std::size_t width_;
    std::vector<Slot> slots_;
    std::deque<Job> waiting_;               // taken, to be placed before any new job
    std::optional<OneShotRunner> oneShot_;  // once the workers are refused
    std::vector<WorkerProcess*> waitingFor_;
};
