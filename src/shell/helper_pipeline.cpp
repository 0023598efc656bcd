#include "shell/helper_pipeline.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <thread>
#include <vector>

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
                waitFor(current);
                result = ToolResult{current.process->finish(), current.process->errors()};
            }
            // Helpers started ahead are waited for when `prepared_` goes, their results dropped.
            if (!pipeline_.finish(step, result ? &*result : nullptr)) return false;
        }
        return true;
    }

private:
    // Waits until `step`'s run has ended. Meanwhile any other run that ends makes room for the
    // next one, so that a long run at the head keeps no core idle.
    void waitFor(PreparedStep& step) {
        while (step.running && !step.process->ended()) {
            waitingFor_.assign(1, step.process.get());
            for (const PreparedStep& ahead : prepared_)
                if (ahead.running) waitingFor_.push_back(ahead.process.get());
            ToolProcess::waitForAny(waitingFor_, ToolProcess::kPauseMilliseconds);
            if (pipeline_.whileWaiting) pipeline_.whileWaiting();
            for (PreparedStep& ahead : prepared_)
                if (ahead.running && ahead.process->ended()) ahead.running = false, --running_;
            startWaitingRuns();
        }
        if (step.running) step.running = false, --running_;
        startWaitingRuns();  // the next run goes while this step's result is handled
    }

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
    std::vector<ToolProcess*> waitingFor_;
};

}  // namespace

bool runHelperPipeline(std::size_t steps, int width, const HelperPipeline& pipeline) {
    return Pipeline(steps, width, pipeline).run();
}

int defaultHelperRuns() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }
