#include "pack/stage_folder.h"

#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "pack/staged_name.h"
#include "pack/toc_library_index.h"
#include "shell/compression_tool.h"
#include "shell/form.h"
#include "shell/shell_ops.h"
#include "shell/tool_runner.h"

namespace {

// Whether the file is packed compressed, with how many copies, and whether it is new.
struct StagingChoice {
    std::string copies;
    bool newFile;
    bool compress;
};

StagingChoice chooseStaging(const StagingJob& job, const std::string& relativePath) {
    const TocLibraryLine* line = job.library.find(relativePath);
    if (!line) return {"1", true, true};
    return {line->copiesField, false, line->compressedField == "01" || job.compressAllFiles};
}

void showStep(Form& form, const char* verb, const std::string& stagedName) {
    std::string line = verb + std::to_string(form.walkFileCount + 1) + ": " + stagedName;
    form.window.setStatus(line);
    appendLogLine(form, line);
}

// Why zlibc did not stage the file, in its own words where it gave any.
std::string zlibcFailure(std::int32_t exitCode, const std::string& errors) {
    if (exitCode == -1) return "zlibc could not be started";
    std::string reason = errors.substr(0, errors.find('\n'));
    if (startsWith(reason, "zlibc: ")) reason.erase(0, 7);
    return reason.empty() ? "zlibc ended with code " + std::to_string(exitCode) : reason;
}

// The reason the file could not be staged; nothing when it was.
std::optional<std::string> compressInto(Form& form, const fs::path& source, const fs::path& target) {
    std::string errors;
    RunAndWait(form, zlibcDeflateCommand(form, source, target), &errors);
    form.window.yield();
    form.window.yield();
    ++form.filesZippedCount;
    ++form.walkFileCount;
    std::error_code ec;
    if (form.toolExitCode != 0) return zlibcFailure(form.toolExitCode, errors);
    if (!fs::is_regular_file(target, ec)) return "zlibc left no staged file";
    return std::nullopt;
}

std::optional<std::string> copyInto(Form& form, const fs::path& source, const fs::path& target) {
    std::error_code ec;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    ++form.walkFileCount;
    if (ec) return ec.message();
    return std::nullopt;
}

// The size of a regular file (a link to one counts), or the reason it has none that fits an
// archive entry.
std::int64_t stageableSize(const fs::path& file, std::string& reason) {
    std::error_code ec;
    fs::file_status status = fs::status(file, ec);
    if (ec) return reason = ec.message(), -1;
    if (!fs::is_regular_file(status)) return reason = "it is not a regular file", -1;
    std::uintmax_t size = fs::file_size(file, ec);
    if (ec) return reason = ec.message(), -1;
    if (size > static_cast<std::uintmax_t>(INT32_MAX))
        return reason = "it holds " + std::to_string(size) + " bytes; an archive entry holds at most 2147483647", -1;
    return static_cast<std::int64_t>(size);
}

std::optional<std::string> stageFile(Form& form, const fs::path& file, const StagingJob& job) {
    std::string reason;
    std::int64_t size = stageableSize(file, reason);
    if (size < 0) return reason;
    std::string relativePath = archivePathOf(job.packFolder, file);
    StagingChoice choice = chooseStaging(job, relativePath);
    std::string stagedName = buildStagedName(relativePath, size, choice.copies, choice.newFile, choice.compress);
    if (std::size_t limit = longestFileName(form.tempPath); stagedName.size() > limit)
        return "its name in Temp would be " + std::to_string(stagedName.size()) + " bytes long; Temp takes at most " +
               std::to_string(limit);
    fs::path target = form.tempPath / stagedName;
    // Only a name holding "\" (possible outside Windows) can give another file's staged name;
    // staging it would silently replace that file.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) return "another file of the folder has the same name in Temp";
    if (choice.compress) {
        showStep(form, "Zipping ", stagedName);
        return compressInto(form, file, target);
    }
    showStep(form, "Copying ", stagedName);
    return copyInto(form, file, target);
}

}  // namespace

void logStagingFailed(Form& form, const StagingJob& job, const fs::path& path, const std::string& reason) {
    appendLogLine(form, "Staging failed: " + archivePathOf(job.packFolder, path) + " (" + reason + ")");
}

bool StageFolder(Form& form, const std::vector<fs::path>& files, const StagingJob& job) {
    for (const fs::path& file : files) {
        std::optional<std::string> failure;
        try {
            failure = stageFile(form, file, job);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        if (failure) {
            logStagingFailed(form, job, file, *failure);
            return false;
        }
    }
    return true;
}
