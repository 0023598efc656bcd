// Steps that may each need a zlibc job, run through a job queue: each step's job is asked for
// and queued ahead, in step order, and each step's result is handed on in step order. Log
// lines, counters and files come out as from a run one step at a time; meanwhile the other
// core works, and the window runs while the pass waits.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "shell/helper_job.h"

struct HelperPipeline {
    // The job of step i, or nothing when the step needs none. Asked in step order, possibly
    // before earlier steps are finished, so it does nothing that shows.
    std::function<std::optional<HelperJob>(std::size_t step)> jobOf;
    // Step i's turn has come: called before its job is waited for.
    std::function<void(std::size_t step)> begin;
    // Step i's result (nullptr when it had no job), in step order. False stops the pipeline:
    // jobs already started run to their end, their results dropped.
    std::function<bool(std::size_t step, const ToolResult* result)> finish;
    // Called while the pipeline waits for a job: about every 16 ms.
    std::function<void()> whileWaiting;
};

// Runs `steps` steps with `runner`; false when `finish` stopped it.
bool runHelperPipeline(std::size_t steps, HelperRunner& runner, const HelperPipeline& pipeline);

// Jobs at once by default: one per processor core, at least one.
int defaultHelperRuns();
