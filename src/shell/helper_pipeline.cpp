#include "shell/helper_pipeline.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "shell/helper_job_queue.h"

// How far ahead of the step being finished jobs are asked for.
constexpr std::size_t kLookAhead = 64;

bool runHelperPipeline(std::size_t steps, HelperRunner& runner, const HelperPipeline& pipeline) {
    HelperJobQueue queue(runner);
    std::vector<std::optional<std::size_t>> jobs(steps);
    std::size_t next = 0;
    for (std::size_t step = 0; step < steps; ++step) {
        for (; next < steps && next < step + kLookAhead; ++next)
            if (std::optional<HelperJob> job = pipeline.jobOf(next)) jobs[next] = queue.add(std::move(*job));
        queue.keepRunning();
        if (pipeline.begin) pipeline.begin(step);
        std::optional<ToolResult> result;
        if (jobs[step]) result = queue.take(*jobs[step], pipeline.whileWaiting);
        if (!pipeline.finish(step, result ? &*result : nullptr)) return false;
    }
    return true;
}

int defaultHelperRuns() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }
