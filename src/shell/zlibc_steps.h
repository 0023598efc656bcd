// The compression passes' way of running their steps: through the form's zlibc workers, with
// the window running while they wait.
#pragma once

#include <cstddef>

#include "shell/app_paths.h"
#include "shell/form.h"
#include "shell/helper_pipeline.h"
#include "shell/zlibc_runner.h"

// `steps` has jobOf, begin and finish as HelperPipeline names them; false when finish stopped.
template <typename Steps>
bool runZlibcSteps(Form& form, std::size_t count, Steps& steps) {
    ZlibcRunner runner(helperProgramPath(form.programFolder, "zlibc"), form.helperRunsAtOnce);
    HelperPipeline pipeline;
    pipeline.jobOf = [&](std::size_t i) { return steps.jobOf(i); };
    pipeline.begin = [&](std::size_t i) { steps.begin(i); };
    pipeline.finish = [&](std::size_t i, const ToolResult* result) { return steps.finish(i, result); };
    pipeline.whileWaiting = [&form] { form.window.yield(); };
    return runHelperPipeline(count, runner, pipeline);
}
