// The unzip pass's zlibc runs, started while the extraction is still parking files, so that the
// extraction's own work and the runs share the cores. Each parked ".gz" file is inflated into
// Temp under a name of its own; the unzip pass takes the results in its own order and moves each
// onto its finished file at that file's turn. Nothing below ExtractedFiles changes before then,
// so files, log and counters are those of runs made one at a time at their turns, an extraction
// that stops part-way included.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/tool_process.h"

struct Form;

class InflateAhead {
public:
    InflateAhead(const Form& form, int runsAtOnce);
    ~InflateAhead();  // runs still going are waited for; results never taken are deleted
    InflateAhead(const InflateAhead&) = delete;
    InflateAhead& operator=(const InflateAhead&) = delete;

    // Before the extraction writes `gzFile`: a run on an earlier file of that name, in any
    // letter case, is waited for and dropped, so that no run reads a file being written.
    void forget(const std::filesystem::path& gzFile);
    // `gzFile` is written whole: it is queued, to be inflated when a run is free. A name holding
    // other than ASCII is not: its file is inflated at its turn.
    void add(const std::filesystem::path& gzFile);
    // Runs that ended make room for queued ones; never waits.
    void keepRunning();

    struct Result {
        std::int32_t exitCode;
        std::filesystem::path inflated;  // in Temp, when exitCode is 0; the caller's from now on
    };
    // The run on `gzFile`, waited for while the other runs go on; nothing when it was not added.
    std::optional<Result> take(const std::filesystem::path& gzFile, const std::function<void()>& whileWaiting);

private:
    struct Run {
        std::filesystem::path gzFile, inflated;
        std::unique_ptr<ToolProcess> process;  // once started
        std::optional<std::int32_t> exitCode;  // once ended
    };
    void start(Run& run);
    void finish(Run& run);

    const Form& form_;
    std::size_t runsAtOnce_;
    std::size_t inflatedCount_ = 0;
    std::unordered_map<std::string, Run> runs_;  // by the file name in lower case (keyOf)
    std::deque<std::string> queued_;             // keys not started yet, oldest first
    std::vector<Run*> running_;
    std::vector<ToolProcess*> runningProcesses_;  // those of running_, to wait for any of them
};
