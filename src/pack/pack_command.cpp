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

// Steps before the walk: empty Temp and the log, read and check the library .toc. Nothing when
// the library .toc is missing: that has been shown, and `failure` is what it said.
std::optional<TocLibraryIndex> preparePack(Form& form, const std::string& caption, Outcome& failure) {
    ClearTempFolder(form);
    form.resultsFolder.clear();
    form.window.setStatus("");
    form.window.showLogText("", Caret::End);
    form.logText.clear();

    fs::path tocFile = form.libraryPath / hostPath(caption + ".toc");
    if (!fileExists(tocFile)) {
        failure = showFailure(
            form, "No library .toc file found for this .MPAK.\r\n\r\nOpen original .MPAK file again to recreate.");
        return std::nullopt;
    }
    std::vector<std::string> tocLines = readLibraryLines(tocFile);
    form.window.yield();
    TocLibraryIndex library(readTocLibrary(tocLines));

    form.window.setBusy(true);
    return library;
}

void refuseMoreFilesThanAnArchiveHolds(const std::vector<WalkStep>& walk) {
    const auto files =
        std::count_if(walk.begin(), walk.end(), [](const WalkStep& s) { return s.kind == WalkStep::File; });
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

const std::string kPackAbortedLine = "Pack operation aborted due to error.";

void appendSummary(Form& form, std::int32_t filesZipped, const PackItResult& packed) {
    appendLogLine(form, std::to_string(filesZipped) + " files zipped.");
    appendLogLine(form, std::to_string(packed.counts.filesPacked) + " files packed.");
    appendLogLine(form, "TOC entries processed: " + std::to_string(packed.counts.filesPacked));
    appendLogLine(form, "STOC entries processed: " + std::to_string(packed.counts.stocGroups));
    if (packed.counts.stocGroups == 0) appendLogLine(form, "STOC table was not created.");
    appendLogLine(form, packed.outcome.done() ? ".MPAK pack complete." : kPackAbortedLine);
}

}  // namespace

Outcome SelectMPAKFolder(Form& form) {
    std::optional<fs::path> chosen = form.window.browseFolder("Select .MPAK folder from \\ExtractedFiles");
    if (!chosen || chosen->empty()) return Outcome::refused();
    if (!isPackableFolder(form.extractedFilesPath, *chosen)) {
        Outcome refused = showFailure(form, notPackableText(form.extractedFilesPath, *chosen));
        refused.kind = Outcome::Kind::Refused;
        return refused;
    }
    setPackFolderName(form, packFolderCaption(*chosen));
    return {};
}

Outcome PackMPAK(Form& form) {
    Window& window = form.window;
    const std::string& caption = form.packFolderName;
    if (caption.empty()) {
        const std::string notice =
            "No .MPAK folder selected.\r\n\r\nFirst select the extracted .MPAK folder you want to repack.";
        showNotice(form, notice);
        SelectMPAKFolder(form);
        return Outcome::refused(notice);
    }
    std::string name(trimSpaces(caption));
    // A name that is not one plain folder name could lead out of ExtractedFiles. The notice is
    // no error box: the pack is said to have ended as any pack that wrote nothing is.
    if (!isPlainName(name) || !isFolder(form.extractedFilesPath / hostPath(name))) {
        showNotice(form, "\\" + name + " folder does not exist in \\ExtractedFiles folder.");
        return Outcome::refused(kPackAbortedLine, false);
    }

    const fs::path packFolder = form.extractedFilesPath / hostPath(name);
    std::optional<TocLibraryIndex> library;
    std::optional<std::vector<StocLibraryGroup>> groups;
    std::vector<WalkStep> walk;
    Outcome failure;
    Outcome prepared = runGuarded(
        form, "PackMPAK",
        [&] {
            library = preparePack(form, caption, failure);
            // The library .stoc and the number of files are checked before the long compression
            // pass, not after it.
            if (library) groups = readLibraryStoc(form, caption, failure);
            if (groups) walk = walkPackFolder(packFolder, [&window] { window.yield(); });
            removeLeftoversOfAKilledRun(form, walk);
            refuseMoreFilesThanAnArchiveHolds(walk);
        },
        [&] {
            appendLogLine(form, "Pack operation aborted due to error.");
            ShowLog(form);
        });
    if (!prepared.done()) return prepared;
    if (!library) return failure;

    // The option is read once: a pack is staged alike from its first file to its last.
    const StagingJob job{packFolder, *library, window.compressAllFiles()};
    StagingResult staged;
    PackItResult packed{failure, {}};
    if (groups) staged = StageFolder(form, walk, job);
    if (groups && staged.staged) {
        window.yield();
        packed = PackIt(form, std::move(*groups));
    } else {
        // Nothing is written from a folder that was not staged whole. A file that could not be
        // staged is said in the log alone: its line, cut at any CR a name brings, is the failure.
        clearTempFolderQuietly(form);
        if (groups)
            packed.outcome = Outcome::failed(
                staged.failure.empty() ? kPackAbortedLine : staged.failure.substr(0, staged.failure.find('\r')), false);
    }
    window.setBusy(false);
    window.setStatus("");
    appendSummary(form, staged.filesZipped, packed);
    ShowLog(form);
    if (packed.outcome.done()) showResultsFolder(form, form.newMpaksPath);
    return packed.outcome;
}
