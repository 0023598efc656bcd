#include "extract/inflate_ahead.h"

#include <algorithm>

#include "common/files.h"
#include "shell/compression_tool.h"
#include "shell/form.h"

namespace fs = std::filesystem;

namespace {

// The file name with ASCII letters in lower case: names that one file system may take for the
// same file share it. Empty for a name holding other bytes, whose other letter cases cannot be
// told here: such a file is left to a run at its turn.
std::string keyOf(const fs::path& gzFile) {
    std::string name = pathText(gzFile.filename());
    for (char& c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) return {};
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

}  // namespace

InflateAhead::InflateAhead(const Form& form, int runsAtOnce)
    : form_(form), runsAtOnce_(static_cast<std::size_t>(std::max(1, runsAtOnce))) {}

InflateAhead::~InflateAhead() {
    for (auto& [key, run] : runs_) {
        if (!run.process) continue;
        run.process->finish();
        std::error_code ignored;
        fs::remove(run.inflated, ignored);
    }
}

void InflateAhead::forget(const fs::path& gzFile) {
    auto found = runs_.find(keyOf(gzFile));
    if (found == runs_.end()) return;
    Run& run = found->second;
    if (run.process && !run.exitCode) finish(run);
    std::error_code ignored;
    if (run.process) fs::remove(run.inflated, ignored);
    runs_.erase(found);  // a key still queued finds no run and is passed over
}

void InflateAhead::add(const fs::path& gzFile) {
    std::string key = keyOf(gzFile);
    if (key.empty() || runs_.count(key) > 0) return;
    // ".inflated-<n>" never ends in ".gz": the pass does not take it for a parked file.
    Run& run = runs_[key];
    run.gzFile = gzFile;
    run.inflated = form_.tempPath / (".inflated-" + std::to_string(inflatedCount_++));
    queued_.push_back(key);
}

std::optional<InflateAhead::Result> InflateAhead::take(const fs::path& gzFile,
                                                       const std::function<void()>& whileWaiting) {
    auto found = runs_.find(keyOf(gzFile));
    // Another letter case of the name is another file where case counts: not this run's.
    if (found == runs_.end() || found->second.gzFile != gzFile) return std::nullopt;
    Run& run = found->second;
    // Until it ends, any run that ends makes room for the next: no core waits for this one.
    for (keepRunning(); !run.exitCode; keepRunning()) {
        runningProcesses_.clear();
        for (Run* going : running_) runningProcesses_.push_back(going->process.get());
        ToolProcess::waitForAny(runningProcesses_, ToolProcess::kPauseMilliseconds);
        if (whileWaiting) whileWaiting();
    }
    Result result{*run.exitCode, run.inflated};
    runs_.erase(found);
    keepRunning();  // the other cores keep working while the pass handles this file
    return result;
}

void InflateAhead::start(Run& run) {
    run.process = std::make_unique<ToolProcess>();
    if (run.process->start(zlibcInflateCommand(form_, run.gzFile, run.inflated))) {
        running_.push_back(&run);
    } else {
        run.exitCode = run.process->finish();
    }
}

void InflateAhead::keepRunning() {
    for (std::size_t i = 0; i < running_.size();) {
        Run& run = *running_[i];
        if (run.process->ended()) {
            finish(run);
        } else {
            ++i;
        }
    }
    while (running_.size() < runsAtOnce_ && !queued_.empty()) {
        auto found = runs_.find(queued_.front());
        queued_.pop_front();
        if (found != runs_.end() && !found->second.process) start(found->second);
    }
}

// A run that has ended (or is waited for here) leaves the running ones.
void InflateAhead::finish(Run& run) {
    run.exitCode = run.process->finish();
    running_.erase(std::find(running_.begin(), running_.end(), &run));
}
