// PackIt: the writer run for the pack command, with the library .stoc read first and what the
// writer reports shown in the status line and the log.
#include "pack/pack_it.h"

#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/files.h"
#include "common/paths.h"
#include "format/library_files.h"
#include "format/library_readers.h"
#include "pack/mpak_writer.h"
#include "pack/stage_folder.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

std::optional<std::vector<StocLibraryGroup>> readLibraryStoc(Form& form, const std::string& caption, Outcome& failure) {
    fs::path library = form.libraryPath / hostPath(caption + ".stoc");
    if (!fileExists(library)) {
        if (std::string_view("0345").find(caption.front()) == std::string_view::npos)
            showNotice(form,
                       "Caution.\r\n\r\nNo library .stoc file found for this .MPAK.\r\n\r\n"
                       "Library .stoc can be created by opening original .MPAK file again.");
        return std::vector<StocLibraryGroup>{};
    }
    // The writer reads the .stoc; a failure here is its failure, checked before the long
    // compression pass instead of after it.
    std::vector<std::string> lines;
    try {
        lines = readLibraryLines(library);
    } catch (const std::exception& e) {
        form.window.setBusy(false);
        failure = reportError(form, "PackIt", e.what());
        return std::nullopt;
    }
    StocLibrary parsed = parseStocLibrary(lines);
    if (parsed.error) {
        failure = showFailure(form, stocHeaderErrorText(*parsed.error));
        return std::nullopt;
    }
    return std::move(parsed.groups);
}

namespace {

// Empties Temp of the staged files; a failure here is ignored.
void emptyTemp(Form& form) {
    clearTempFolderQuietly(form);
    form.window.yield();
}

}  // namespace

PackItResult PackIt(Form& form, std::vector<StocLibraryGroup> libraryGroups) {
    const std::string& caption = form.packFolderName;
    PackItResult result;
    MpakWriterProgress progress;
    progress.packing = [&form](int number, std::size_t total, const std::string& stagedName) {
        std::string line = "Packing " + std::to_string(number) + "/" + std::to_string(total) + ": " + stagedName;
        form.window.setStatus(line);
        appendLogLine(form, line);
        form.window.setProgress(kStagingShare + (1 - kStagingShare) * static_cast<float>(number) / total);
    };
    progress.pause = [&form] { form.window.yield(); };
    // The box comes while the work files and the staged files are still there; the clean-up
    // follows it.
    bool failureShown = false;
    progress.failed = [&](const std::string& description) {
        form.window.setBusy(false);
        result.outcome = reportError(form, "PackIt", description);
        failureShown = true;
    };

    try {
        if (!isPlainName(caption))
            throw Failure("'" + caption + "' is not a plain folder name; the new archive would not lie in NewMPAKs.");
        MpakWriterJob job{filesDirectlyIn(form.tempPath), std::move(libraryGroups), form.window.autoAddNewFiles(),
                          form.appFolder, form.newMpaksPath / hostPath(caption)};
        writeMpak(job, progress, result.counts);
    } catch (const std::exception& e) {
        if (!failureShown) progress.failed(e.what());
    }
    emptyTemp(form);
    return result;
}
