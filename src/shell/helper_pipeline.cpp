#include "shell/helper_pipeline.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <thread>

#include "shell/tool_process.h"

namespace {

// A step whose command line has been asked for: it runs a helper (started or not) or none.
struct PreparedStep {
    std::size_t step;
    std::unique_ptr<ToolProcess> process;  // null when the step runs no helper
    bool started = false;
};

// How far ahead of the step being finished steps are prepared, helpers or not.
constexpr std::size_t kLookAhead = 64;

}  // namespace

bool runHelperPipeline(std::size_t steps, int width, const HelperPipeline& pipeline) {
    const std::size_t runsAtOnce = static_cast<std::size_t>(std::max(1, width));
    std::deque<PreparedStep> prepared;
    std::size_t running = 0, next = 0;
    for (std::size_t step = 0; step < steps; ++step) {
        while (next < steps && running < runsAtOnce && next < step + kLookAhead) {
            PreparedStep ahead{next++, nullptr};
            if (std::optional<std::string> command = pipeline.commandOf(ahead.step)) {
                ahead.process = std::make_unique<ToolProcess>();
                ahead.started = ahead.process->start(*command);
                if (ahead.started) ++running;
            }
            prepared.push_back(std::move(ahead));
        }
        PreparedStep current = std::move(prepared.front());
        prepared.pop_front();
        std::optional<ToolResult> result;
        if (current.process) {
            result = ToolResult{current.process->finish(pipeline.whileWaiting), current.process->errors()};
            if (current.started) --running;
        }
        // Helpers started ahead are waited for when `prepared` goes, their results dropped.
        if (!pipeline.finish(step, result ? &*result : nullptr)) return false;
    }
    return true;
}

int defaultHelperRuns() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }
