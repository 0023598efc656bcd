#include "extract/inflate_ahead.h"

#include "common/files.h"
#include "shell/zlibc_runner.h"

namespace fs = std::filesystem;

namespace {

// The file name with ASCII letters in lower case: names that one file system may take for the
// same file share it. Empty for a name holding other bytes, whose other letter cases cannot be
// told here: such a file is left to a job at its turn.
std::string keyOf(const fs::path& gzFile) {
    std::string name = pathText(gzFile.filename());
    for (char& c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) return {};
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

}  // namespace

InflateAhead::InflateAhead(const fs::path& zlibc, const fs::path& tempFolder, int runsAtOnce)
    : tempFolder_(tempFolder),
      runner_(std::make_unique<ZlibcRunner>(zlibc, runsAtOnce)),
      queue_(std::make_unique<HelperJobQueue>(*runner_)) {}

InflateAhead::~InflateAhead() {
    queue_.reset();
    runner_.reset();  // every job has ended now
    std::error_code ignored;
    for (auto& [key, job] : jobs_) fs::remove(job.inflated, ignored);
}

void InflateAhead::forget(const fs::path& gzFile) {
    auto found = jobs_.find(keyOf(gzFile));
    if (found == jobs_.end()) return;
    queue_->drop(found->second.id);
    std::error_code ignored;
    fs::remove(found->second.inflated, ignored);
    jobs_.erase(found);
}

void InflateAhead::add(const fs::path& gzFile) {
    std::string key = keyOf(gzFile);
    if (key.empty() || jobs_.count(key) > 0) return;
    // ".inflated-<n>" never ends in ".gz": the pass does not take it for a parked file.
    fs::path inflated = tempFolder_ / (".inflated-" + std::to_string(inflatedCount_++));
    const std::size_t id = queue_->add({true, gzFile, inflated});
    jobs_.emplace(key, Job{gzFile, inflated, id});
}

std::optional<InflateAhead::Result> InflateAhead::take(const fs::path& gzFile,
                                                       const std::function<void()>& whileWaiting) {
    auto found = jobs_.find(keyOf(gzFile));
    // Another letter case of the name is another file where case counts: not this job's.
    if (found == jobs_.end() || found->second.gzFile != gzFile) return std::nullopt;
    Result result{queue_->take(found->second.id, whileWaiting).exitCode, found->second.inflated};
    jobs_.erase(found);
    return result;
}

std::int32_t InflateAhead::inflateNow(const fs::path& gzFile, const fs::path& output,
                                      const std::function<void()>& whileWaiting) {
    return queue_->take(queue_->add({true, gzFile, output}, HelperJobQueue::First), whileWaiting).exitCode;
}
