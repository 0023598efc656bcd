#include "pack/stage_folder.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/links.h"
#include "common/paths.h"
#include "common/text.h"
#include "pack/staged_name.h"
#include "pack/toc_library_index.h"
#include "shell/app_paths.h"
#include "shell/form.h"
#include "shell/helper_pipeline.h"
#include "shell/shell_ops.h"
#include "shell/zlibc_runner.h"
#include "shell/zlibc_steps.h"

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// A file of the walk made ready to stage: where it goes and how, or why it cannot be staged.
struct StagingPlan {
    std::string stagedName;
    bool compress = false;
    std::optional<std::string> failure;
};

// The size of a regular file (a link to one counts), or the reason it has none that fits an
// archive entry.
std::int64_t stageableSize(const fs::path& file, std::string& reason) {
    // A size is had for a regular file alone: one look at the file in the usual case.
    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(file, sizeError);
    if (sizeError) {
        std::error_code ec;
        fs::file_status status = fs::status(file, ec);
        if (ec) return reason = ec.message(), -1;
        if (!fs::is_regular_file(status)) return reason = "it is not a regular file", -1;
        return reason = sizeError.message(), -1;
    }
    if (size > static_cast<std::uintmax_t>(INT32_MAX))
        return reason = "it holds " + std::to_string(size) + " bytes; an archive entry holds at most 2147483647", -1;
    return static_cast<std::int64_t>(size);
}

class Staging {
public:
    Staging(Form& form, const std::vector<WalkStep>& walk, const StagingJob& job)
        : form_(form),
          walk_(walk),
          job_(job),
          plans_(walk.size()),
          tempNameLimit_(longestFileName(form.tempPath)),
          files_(std::count_if(walk.begin(), walk.end(), [](const WalkStep& s) { return s.kind == WalkStep::File; })) {}

    // The library decides how the file is staged; nothing is written yet. A staged name is
    // claimed here, in walk order, so that a later file cannot take it while zlibc runs.
    std::optional<HelperJob> jobOf(std::size_t i) {
        if (walk_[i].kind != WalkStep::File) return std::nullopt;
        try {
            return plan(i, plans_[i]);
        } catch (const std::exception& e) {
            plans_[i].failure = e.what();  // said at the step's turn
            return std::nullopt;
        }
    }

    // A file to compress shows its line before its job is waited for.
    void begin(std::size_t i) {
        const StagingPlan& plan = plans_[i];
        if (walk_[i].kind == WalkStep::File && !plan.failure && plan.compress) showStep("Zipping ", plan.stagedName);
    }

    // The step's turn, in walk order: its log lines and counters, and the copy of a stored file.
    bool finish(std::size_t i, const ToolResult* result) {
        try {
            return finishStep(walk_[i], plans_[i], result);
        } catch (const std::exception& e) {
            return failed(walk_[i].path, e.what());
        }
    }

    const StagingResult& result() const { return result_; }

private:
    // The zlibc job of a file to compress; nothing for a copy or a failure.
    std::optional<HelperJob> plan(std::size_t i, StagingPlan& plan) {
        std::string reason;
        std::int64_t size = stageableSize(walk_[i].path, reason);
        if (size < 0) return plan.failure = reason, std::nullopt;
        std::optional<std::string> entryPath = entryPathOf(job_.packFolder, walk_[i].path);
        if (!entryPath)
            return plan.failure = "a name on its path holds \"\\\" or \":\", which no archive entry can hold",
                   std::nullopt;
        const std::string& relativePath = *entryPath;
        const TocLibraryLine* line = job_.library.find(relativePath);
        plan.compress = !line || line->compressedField == "01" || job_.compressAllFiles;
        plan.stagedName = buildStagedName(relativePath, size, line ? line->copiesField : "1", !line, plan.compress);
        if (plan.stagedName.size() > tempNameLimit_)
            return plan.failure = "its name in Temp would be " + std::to_string(plan.stagedName.size()) +
                                  " bytes long; Temp takes at most " + std::to_string(tempNameLimit_),
                   std::nullopt;
        // Only a name holding "\" (possible outside Windows) can give another file's staged
        // name; staging it would silently replace that file.
        if (nameExists(target(plan)) || !claimed_.insert(plan.stagedName).second)
            return plan.failure = "another file of the folder has the same name in Temp", std::nullopt;
        if (!plan.compress) return std::nullopt;
        return HelperJob{false, walk_[i].path, target(plan)};
    }

    bool finishStep(const WalkStep& step, const StagingPlan& plan, const ToolResult* result) {
        if (step.kind == WalkStep::LinkNotFollowed) {
            appendLogLine(form_, "Symbolic link not followed: " + archivePathOf(job_.packFolder, step.path));
            return true;
        }
        if (step.kind == WalkStep::Unlistable) return failed(step.path, step.reason);
        if (step.kind == WalkStep::FolderDone) {
            form_.window.yield();
            return true;
        }
        if (plan.failure) return failed(step.path, *plan.failure);
        std::error_code ec;
        if (plan.compress) {  // its line is shown (begin)
            form_.window.yield();
            form_.window.yield();
            ++result_.filesZipped;
            ++filesDone_;
            if (result->exitCode != 0) return failed(step.path, zlibcFailureReason(*result));
            if (!fs::is_regular_file(target(plan), ec)) return failed(step.path, "zlibc left no staged file");
            return true;
        }
        showStep("Copying ", plan.stagedName);
        ++filesDone_;
        // Not fs::copy_file: where a copy runs out of room part way it says "Input/output error".
        WorkFile copy(target(plan));
        copyInBlocks(step.path, copy, kCopyBlock);
        copy.close();
        form_.window.yield();  // a large copy takes as long as a compression
        return true;
    }

    fs::path target(const StagingPlan& plan) const { return form_.tempPath / hostPath(plan.stagedName); }

    // "Zipping 12: name" in the log; the status line adds the total, "Zipping 12/345: name".
    void showStep(const char* verb, const std::string& stagedName) {
        const std::string number = verb + std::to_string(filesDone_ + 1);
        form_.window.setStatus(number + "/" + std::to_string(files_) + ": " + stagedName);
        appendLogLine(form_, number + ": " + stagedName);
        form_.window.setProgress(kStagingShare * static_cast<float>(filesDone_ + 1) / static_cast<float>(files_));
    }

    bool failed(const fs::path& path, const std::string& reason) {
        result_.failure = "Staging failed: " + archivePathOf(job_.packFolder, path) + " (" + reason + ")";
        appendLogLine(form_, result_.failure);
        return false;
    }

    Form& form_;
    const std::vector<WalkStep>& walk_;
    const StagingJob& job_;
    std::vector<StagingPlan> plans_;
    std::size_t tempNameLimit_;
    std::ptrdiff_t files_;  // files the walk found
    std::set<std::string> claimed_;
    std::int32_t filesDone_ = 0;  // staged or being staged, for the step numbers
    StagingResult result_;
};

}  // namespace

StagingResult StageFolder(Form& form, const std::vector<WalkStep>& walk, const StagingJob& job) {
    Staging staging(form, walk, job);
    const bool staged = runZlibcSteps(form, walk.size(), staging);
    StagingResult result = staging.result();
    result.staged = staged;
    return result;
}
