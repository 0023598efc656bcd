// A zlibc job, what it gave, and the interface of the two ways of running jobs: a worker that
// serves many (zlibc_runner.h) or one process per job (one_shot_runner.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// What `zlibc -d IN OUT` (inflate) or `zlibc -k IN OUT` means.
struct HelperJob {
    bool inflate = false;
    std::filesystem::path in, out;
};

struct ToolResult {
    std::int32_t exitCode;  // as a one-shot run's: 128 + signal when killed, -1 when it cannot run
    std::string errors;     // the first 4 KiB of what it wrote to standard error
};

class HelperRunner {
public:
    struct Finished {
        std::size_t id;
        ToolResult result;
    };
    virtual ~HelperRunner() = default;  // jobs still running are waited for
    // Starts `job` under `id`; false, starting nothing, when no more jobs can run at once. A job
    // that cannot run still starts: it finishes at once with -1.
    virtual bool start(std::size_t id, const HelperJob& job) = 0;
    // Adds the jobs that have finished since the last call; when none has, waits up to
    // `milliseconds` for one first.
    virtual void collect(int milliseconds, std::vector<Finished>& finished) = 0;
};
