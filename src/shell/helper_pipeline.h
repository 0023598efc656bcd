// Steps that may each run a helper program, run with up to `width` helpers at once: each step's
// command line is asked for and started ahead, in step order, and each step's result is handed
// on in step order. Log lines, counters and files come out as from a run one step at a time;
// meanwhile the other core works, and the window runs while the pass waits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct ToolResult {
    std::int32_t exitCode;  // as runAndWait gives it
    std::string errors;     // the first 4 KiB of the helper's standard error
};

struct HelperPipeline {
    // The command line of step i, or nothing when the step runs no helper. Asked in step order,
    // possibly before earlier steps are finished, so it does nothing that shows.
    std::function<std::optional<std::string>(std::size_t step)> commandOf;
    // Step i's result (nullptr when it ran no helper), in step order. False stops the pipeline:
    // helpers already started are waited for, their results dropped.
    std::function<bool(std::size_t step, const ToolResult* result)> finish;
    // Called while the pipeline waits for a helper: at least every 16 ms, and whenever a run ends.
    std::function<void()> whileWaiting;
};

// Runs `steps` steps; false when `finish` stopped it.
bool runHelperPipeline(std::size_t steps, int width, const HelperPipeline& pipeline);

// Helper runs at once by default: one per processor core, at least one.
int defaultHelperRuns();
