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
    std::optional<std::string> command;
    std::unique_ptr<ToolProcess> process;  // once started
    bool running = false;                  // started, and not yet finished here
};

// How far ahead of the step being finished command lines are asked for.
constexpr std::size_t kLookAhead = 64;

class Pipeline {
public:
    Pipeline(std::size_t steps, int width, const HelperPipeline& pipeline)
        : steps_(steps), width_(static_cast<std::size_t>(std::max(1, width))), pipeline_(pipeline) {}

    bool run() {
        for (std::size_t step = 0; step < steps_; ++step) {
            for (; next_ < steps_ && next_ < step + kLookAhead; ++next_)
                prepared_.push_back({next_, pipeline_.commandOf(next_), nullptr, false});
            startWaitingRuns();
            PreparedStep current = std::move(prepared_.front());
            prepared_.pop_front();
            std::optional<ToolResult> result;
            if (current.process) {  // every step before it has ended, so its run has been started
                result = ToolResult{current.process->finish(pipeline_.whileWaiting), current.process->errors()};
                if (current.running) --running_;
                startWaitingRuns();  // the next run goes while this step's result is handled
            }
            // Helpers started ahead are waited for when `prepared_` goes, their results dropped.
            if (!pipeline_.finish(step, result ? &*result : nullptr)) return false;
        }
        return true;
    }

private:
    // Starts runs of prepared steps, oldest first, while fewer than `width_` run. A run that
    // cannot start has ended: finishing it gives -1 at once.
    void startWaitingRuns() {
        for (PreparedStep& ahead : prepared_) {
            if (running_ >= width_) return;
            if (!ahead.command || ahead.process) continue;
            ahead.process = std::make_unique<ToolProcess>();
            ahead.running = ahead.process->start(*ahead.command);
            if (ahead.running) ++running_;
        }
    }

    std::size_t steps_, width_;
    const HelperPipeline& pipeline_;
    std::deque<PreparedStep> prepared_;  // steps [step, next_), their runs started in step order
    std::size_t running_ = 0, next_ = 0;
};

}  // namespace

bool runHelperPipeline(std::size_t steps, int width, const HelperPipeline& pipeline) {
    return Pipeline(steps, width, pipeline).run();
}

int defaultHelperRuns() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }
