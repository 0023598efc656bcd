#include "update/update_command.h"

#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/files.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/helper_pipeline.h"
#include "shell/shell_ops.h"
#include "shell/zlibc_runner.h"
#include "shell/zlibc_steps.h"
#include "update/update_writer.h"

namespace fs = std::filesystem;

namespace {

// The compression pass over the replaced and added entries, in plan order through the zlibc
// workers: a compressed entry's file goes through "zlibc -k" into Temp, a stored one is read
// from the folder as it is.
class UpdateStaging {
public:
    UpdateStaging(Form& form, const UpdatePlan& plan)
        : form_(form), plan_(plan), staged_(plan.items.size()), compressions_(countCompressions()) {}

    std::optional<HelperJob> jobOf(std::size_t i) const {
        if (!compressed(i)) return std::nullopt;
        return HelperJob{false, plan_.items[i].file, zlibOutput(i)};
    }

    void begin(std::size_t i) {
        if (!compressed(i)) return;
        const std::string line = "Zipping " + std::to_string(++zipped_) + ": " + plan_.items[i].entryPath;
        form_.window.setStatus("Zipping " + std::to_string(zipped_) + "/" + std::to_string(compressions_) + ": " +
                               plan_.items[i].entryPath);
        appendLogLine(form_, line);
        form_.window.setProgress(0.9f * static_cast<float>(zipped_) / static_cast<float>(compressions_));
    }

    bool finish(std::size_t i, const ToolResult* result) {
        const UpdateItem& item = plan_.items[i];
        if (item.kind == UpdateItem::Kept) return true;
        if (result && result->exitCode != 0) return failed(item, zlibcFailureReason(*result));
        const std::uint64_t size = fileSizeOf(item.file);
        if (size > std::uint64_t(INT32_MAX))
            return failed(item,
                          "it holds " + std::to_string(size) + " bytes; an archive entry holds at most 2147483647");
        staged_[i] = {result ? zlibOutput(i) : item.file, result != nullptr, static_cast<std::int32_t>(size)};
        appendLogLine(form_, (item.kind == UpdateItem::Added ? "Added: " : "Replaced: ") + item.entryPath);
        form_.window.yield();
        return true;
    }

    const std::vector<StagedData>& staged() const { return staged_; }
    const std::string& failure() const { return failure_; }

private:
    // As the pack compresses a file the library .toc does not list, and as the entry was.
    bool compressed(std::size_t i) const {
        const UpdateItem& item = plan_.items[i];
        return item.kind == UpdateItem::Added ||
               (item.kind == UpdateItem::Replaced && plan_.tables.entries[item.entry].entryCompressed == 1);
    }
    int countCompressions() const {
        int count = 0;
        for (std::size_t i = 0; i < plan_.items.size(); ++i) count += compressed(i);
        return count;
    }
    fs::path zlibOutput(std::size_t i) const { return form_.tempPath / ("update-" + std::to_string(i) + ".zlib"); }
    bool failed(const UpdateItem& item, const std::string& reason) {
        failure_ = "Staging failed: " + item.entryPath + " (" + reason + ")";
        appendLogLine(form_, failure_);
        return false;
    }

    Form& form_;
    const UpdatePlan& plan_;
    std::vector<StagedData> staged_;
    int compressions_, zipped_ = 0;
    std::string failure_;
};

std::vector<StagedData> stageChanges(Form& form, const UpdatePlan& plan) {
    UpdateStaging staging(form, plan);
    if (!runZlibcSteps(form, plan.items.size(), staging)) throw Failure(staging.failure());
    return staging.staged();
}

int countOf(const UpdatePlan& plan, UpdateItem::Kind kind) {
    int count = 0;
    for (const UpdateItem& item : plan.items) count += item.kind == kind;
    return count;
}

void appendSummary(Form& form, const UpdatePlan& plan, const UpdateCounts& counts) {
    appendLogLine(form, "Entries written: " + std::to_string(counts.entries) + " (" +
                            std::to_string(countOf(plan, UpdateItem::Replaced)) + " replaced, " +
                            std::to_string(countOf(plan, UpdateItem::Added)) + " added, " +
                            std::to_string(plan.removedPaths.size()) + " removed, " +
                            std::to_string(countOf(plan, UpdateItem::Kept)) + " kept as stored)");
    appendLogLine(form, "STOC groups written: " + std::to_string(counts.stocGroups));
    appendLogLine(form, ".MPAK update complete.");
}

}  // namespace

Outcome UpdateMPAK(Form& form) {
    if (form.archiveName.empty()) {
        const std::string notice = "No .MPAK file open.\r\n\r\nFirst open the game .MPAK file you want to update.";
        showNotice(form, notice);
        return Outcome::refused(notice);
    }
    return UpdateMPAK(form, {form.archivePath, form.extractedFilesPath / hostPath(form.archiveName), {}});
}

Outcome UpdateMPAK(Form& form, const UpdateRequest& request) {
    Window& window = form.window;
    form.logText.clear();
    Outcome guarded = runGuarded(
        form, "Update",
        [&] {
            window.setBusy(true);
            ClearTempFolder(form);
            // What earlier updates compared, by the archive's file name as the library files are.
            UpdateCache cache(form.libraryPath / hostPath(pathText(request.archive.filename()) + ".update-cache"),
                              request.archive, request.folder);
            const UpdatePlan plan = planUpdate(
                request, [&window] { window.yield(); }, &cache);
            cache.save();
            for (const std::string& note : plan.notes) appendLogLine(form, note);
            for (const std::string& path : plan.removedPaths) appendLogLine(form, "Removed: " + path);
            if (plan.changesNothing()) {
                window.setBusy(false);
                showNotice(form, "Nothing to update: every file in " + pathText(request.folder) +
                                     " equals its entry in the archive, and no entry is removed. Nothing was written.");
                return;
            }
            const std::vector<StagedData> staged = stageChanges(form, plan);
            const fs::path output = form.newMpaksPath / request.archive.filename();
            window.setStatus("Writing " + pathText(output.filename()));
            const UpdateCounts counts = writeUpdatedArchive(plan, request.archive, staged, window.autoAddNewFiles(),
                                                            output, [&window] { window.yield(); });
            clearTempFolderQuietly(form);
            window.setProgress(1);
            window.setStatus("");
            window.setBusy(false);
            appendSummary(form, plan, counts);
            showResultsFolder(form, form.newMpaksPath);
        },
        [&] {
            clearTempFolderQuietly(form);
            appendLogLine(form, "Update aborted: nothing was written.");
        });
    ShowLog(form);
    return guarded;
}
