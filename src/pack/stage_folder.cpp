#include "pack/stage_folder.h"

#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/paths.h"
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

StagingChoice chooseStaging(const Form& form, const TocLibraryIndex& library, const std::string& relativePath) {
    const TocLibraryLine* line = library.find(relativePath);
    if (!line) return {"1", true, true};
    return {line->copiesField, false, line->compressedField == "01" || form.window.compressAllFiles()};
}

void showStep(Form& form, const char* verb, const std::string& stagedName) {
    std::string line = verb + std::to_string(form.walkFileCount + 1) + ": " + stagedName;
    form.window.setStatus(line);
    appendLogLine(form, line);
}

bool compressInto(Form& form, const fs::path& source, const fs::path& target) {
    // The command line quotes both paths without escaping; run it only when it splits back
    // into exactly these arguments (a quote in a name would let zlibc write elsewhere).
    std::string command = zlibcDeflateCommand(form, source, target);
    std::optional<ToolCommand> parsed = resolveCommandLine(command);
    bool faithful = parsed && parsed->arguments == std::vector<std::string>{"-k", pathText(source), pathText(target)};
    if (faithful)
        RunAndWait(form, command);
    else
        form.toolExitCode = -1;
    form.window.yield();
    form.window.yield();
    ++form.filesZippedCount;
    ++form.walkFileCount;
    std::error_code ec;
    return faithful && form.toolExitCode == 0 && fs::is_regular_file(target, ec);
}

bool copyInto(Form& form, const fs::path& source, const fs::path& target) {
    std::error_code ec;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
    ++form.walkFileCount;
    return !ec;
}

// The size of a regular file (a link to one counts), or nothing when it has none that fits
// an archive entry.
std::optional<std::int32_t> stageableSize(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::status(file, ec))) return std::nullopt;
    std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > static_cast<std::uintmax_t>(INT32_MAX)) return std::nullopt;
    return static_cast<std::int32_t>(size);
}

bool stageFile(Form& form, const fs::path& file, const TocLibraryIndex& library) {
    std::optional<std::int32_t> size = stageableSize(file);
    if (!size) return false;
    form.fileLength = *size;
    std::string relativePath = archivePathOf(form.packFolderPath, file);
    StagingChoice choice = chooseStaging(form, library, relativePath);
    std::string stagedName =
        buildStagedName(relativePath, form.fileLength, choice.copies, choice.newFile, choice.compress);
    fs::path target = form.tempPath / stagedName;
    // Only a name holding "\" (possible outside Windows) can give another file's staged name;
    // staging it would silently replace that file.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) return false;
    if (choice.compress) {
        showStep(form, "Zipping ", stagedName);
        return compressInto(form, file, target);
    }
    showStep(form, "Copying ", stagedName);
    return copyInto(form, file, target);
}

}  // namespace

void logStagingFailed(Form& form, const fs::path& path) {
    appendLogLine(form, "Staging failed: " + archivePathOf(form.packFolderPath, path));
}

bool StageFolder(Form& form, const std::vector<fs::path>& files, const TocLibraryIndex& library) {
    for (const fs::path& file : files) {
        bool staged = false;
        try {
            staged = stageFile(form, file, library);
        } catch (const std::exception&) {
        }
        if (!staged) {
            logStagingFailed(form, file);
            return false;
        }
    }
    return true;
}
