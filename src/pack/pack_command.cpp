// "Select .MPAK Folder" and "Pack New .MPAK": the folder check, the library .toc, the walk
// over the folder tree with the compression pass, PackIt and the summary.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/failure.h"
#include "common/files.h"
#include "common/leftovers.h"
#include "common/paths.h"
#include "common/text.h"
#include "format/library_files.h"
#include "format/library_readers.h"
#include "format/mpak_records.h"
#include "pack/folder_listing.h"
#include "pack/pack_folder.h"
#include "pack/pack_it.h"
#include "pack/stage_folder.h"
#include "pack/toc_library_index.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

namespace {

// The folder the person chose may be a link to a folder, inside ExtractedFiles or not: it is
// followed (links inside it are not).
bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(fs::status(path, ec));
}

// Steps before the walk: empty Temp and the log, read and check the library .toc, reset the
// counters. Nothing when the library .toc is missing (that has been shown).
std::optional<TocLibraryIndex> preparePack(Form& form, const std::string& caption) {
    ClearTempFolder(form);
    form.resultsFolder.clear();
    form.window.setStatus("");
    form.window.showLogText("", Caret::End);
    form.logText.clear();

    fs::path tocFile = form.libraryPath / hostPath(caption + ".toc");
    if (!fileExists(tocFile)) {
        form.window.showMessage(
            "No library .toc file found for this .MPAK.\r\n\r\nOpen original .MPAK file again to recreate.",
            MessageIcon::Exclamation, kAppTitle);
        return std::nullopt;
    }
    std::vector<std::string> tocLines = readLibraryLines(tocFile);
    form.window.yield();
    TocLibraryIndex library(readTocLibrary(tocLines));

    form.window.setBusy(true);
    form.filesPackedCount = 0;
    form.filesZippedCount = 0;
    form.walkFileCount = 0;
    form.stocEntryCount = 0;
    return library;
}

void refuseMoreFilesThanAnArchiveHolds(const std::vector<WalkStep>& walk) {
    const auto files = std::count_if(walk.begin(), walk.end(), [](const WalkStep& s) { return s.kind == WalkStep::File; });
    if (files > kMaxArchiveEntries)
        throw Failure("The folder holds " + std::to_string(files) + " files; an archive holds at most " +
                      std::to_string(kMaxArchiveEntries) + ", the limit of the archive format.");
}

// A killed run's unfinished files in the pack folder and in NewMPAKs are removed, never packed.
void removeLeftoversOfAKilledRun(Form& form, std::vector<WalkStep>& walk) {
    int removed = removeLeftovers(form.newMpaksPath, false);
    for (const WalkStep& step : walk) {
        std::error_code ignored;
        if (step.kind == WalkStep::Leftover) removed += fs::remove(step.path, ignored);
    }
    walk.erase(std::remove_if(walk.begin(), walk.end(), [](const WalkStep& s) { return s.kind == WalkStep::Leftover; }),
               walk.end());
    if (removed > 0) appendLogLine(form, leftoversRemovedLine(removed));
}

void appendSummary(Form& form, std::int16_t packStatus) {
    appendLogLine(form, std::to_string(form.filesZippedCount) + " files zipped.");
    appendLogLine(form, std::to_string(form.filesPackedCount) + " files packed.");
    appendLogLine(form, "TOC entries processed: " + std::to_string(form.filesPackedCount));
    appendLogLine(form, "STOC entries processed: " + std::to_string(form.stocEntryCount));
    if (form.stocEntryCount == 0) appendLogLine(form, "STOC table was not created.");
    appendLogLine(form, packStatus == kPackDone ? ".MPAK pack complete." : "Pack operation aborted due to error.");
}

}  // namespace

void SelectMPAKFolder(Form& form) {
    std::optional<fs::path> chosen = form.window.browseFolder("Select .MPAK folder from \\ExtractedFiles");
    if (!chosen || chosen->empty()) return;
    if (!isPackableFolder(form.extractedFilesPath, *chosen)) {
        form.window.showMessage(notPackableText(form.extractedFilesPath, *chosen), MessageIcon::Exclamation, kAppTitle);
        return;
    }
    form.window.setPackFolderName(packFolderCaption(*chosen));
}

void PackMPAK(Form& form) {
    Window& window = form.window;
    std::string caption = window.packFolderName();
    if (caption.empty()) {
        showNotice(form,
                   "No .MPAK folder selected.\r\n\r\nFirst select the extracted .MPAK folder you want to repack.");
        SelectMPAKFolder(form);
        return;
    }
    std::string name(trimSpaces(caption));
    // A name that is not one plain folder name could lead out of ExtractedFiles.
    if (!isPlainName(name) || !isFolder(form.extractedFilesPath / hostPath(name))) {
        showNotice(form, "\\" + name + " folder does not exist in \\ExtractedFiles folder.");
        return;
    }

    const fs::path packFolder = form.extractedFilesPath / hostPath(name);
    std::optional<TocLibraryIndex> library;
    std::optional<std::vector<StocLibraryGroup>> groups;
    std::vector<WalkStep> walk;
    bool prepared = runGuarded(
        form, "PackMPAK",
        [&] {
            library = preparePack(form, caption);
            // The library .stoc and the number of files are checked before the long compression
            // pass, not after it.
            if (library) groups = readLibraryStoc(form, caption);
            if (groups) walk = walkPackFolder(packFolder, [&window] { window.yield(); });
            removeLeftoversOfAKilledRun(form, walk);
            refuseMoreFilesThanAnArchiveHolds(walk);
        },
        [&] {
            appendLogLine(form, "Pack operation aborted due to error.");
            ShowLog(form);
        });
    if (!prepared || !library) return;

    std::int16_t packStatus = kPackAborted;
    // The option is read once: a pack is staged alike from its first file to its last.
    const StagingJob job{packFolder, *library, window.compressAllFiles()};
    if (groups && StageFolder(form, walk, job)) {
        window.yield();
        packStatus = PackIt(form, std::move(*groups));
    } else {
        // Nothing is written from a folder that was not staged whole.
        try {
            ClearTempFolder(form);
        } catch (const std::exception&) {
        }
    }
    window.setBusy(false);
    window.setStatus("");
    appendSummary(form, packStatus);
    ShowLog(form);
    if (packStatus == kPackDone) showResultsFolder(form, form.newMpaksPath);
}
