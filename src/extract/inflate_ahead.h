// The unzip pass's zlibc jobs, started while the extraction is still parking files, so that the
// extraction's own work and the jobs share the cores. Each parked ".gz" file is inflated into
// Temp under a name of its own; the unzip pass takes the results in its own order and moves each
// onto its finished file at that file's turn. Nothing below ExtractedFiles changes before then,
// so files, log and counters are those of runs made one at a time at their turns, an extraction
// that stops part-way included.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "shell/helper_job_queue.h"

class InflateAhead {
public:
    InflateAhead(const std::filesystem::path& zlibc, const std::filesystem::path& tempFolder, int runsAtOnce);
    ~InflateAhead();  // jobs still going are waited for; results never taken are deleted
    InflateAhead(const InflateAhead&) = delete;
    InflateAhead& operator=(const InflateAhead&) = delete;

    // Before the extraction writes `gzFile`: a job on an earlier file of that name, in any
    // letter case, is waited for and dropped, so that no job reads a file being written.
    void forget(const std::filesystem::path& gzFile);
    // `gzFile` is written whole: it is queued, to be inflated when a worker is free. A name
    // holding other than ASCII is not: its file is inflated at its turn.
    void add(const std::filesystem::path& gzFile);
    // Finished jobs make room for queued ones; never waits.
    void keepRunning() { queue_->keepRunning(); }

    struct Result {
        std::int32_t exitCode;
        std::filesystem::path inflated;  // in Temp, when exitCode is 0; the caller's from now on
    };
    // The job on `gzFile`, waited for while the others go on; nothing when it was not added.
    std::optional<Result> take(const std::filesystem::path& gzFile, const std::function<void()>& whileWaiting);
    // Inflates `gzFile` onto `output` now, ahead of every queued job; gives zlibc's exit code.
    std::int32_t inflateNow(const std::filesystem::path& gzFile, const std::filesystem::path& output,
                            const std::function<void()>& whileWaiting);

private:
    struct Job {
        std::filesystem::path gzFile, inflated;
        std::size_t id;
    };

    std::filesystem::path tempFolder_;
    std::unique_ptr<HelperRunner> runner_;
    std::unique_ptr<HelperJobQueue> queue_;
    std::size_t inflatedCount_ = 0;
    std::unordered_map<std::string, Job> jobs_;  // by the file name in lower case (keyOf)
};
