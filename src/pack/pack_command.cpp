// "Select .MPAK Folder" and "Pack New .MPAK": the folder check, the library .toc, the walk
// over the folder tree with the compression pass, PackIt and the summary.
#include <optional>
#include <string>
#include <vector>

#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "format/library_readers.h"
#include "pack/folder_listing.h"
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

// The last name of a chosen folder, without one trailing separator.
std::string lastNameOf(std::string path) {
#ifdef _WIN32
    constexpr std::string_view separators = "\\/";
#else
    constexpr std::string_view separators = "/";
#endif
    if (!path.empty() && separators.find(path.back()) != std::string_view::npos) path.pop_back();
    std::size_t at = path.find_last_of(separators);
    return at == std::string::npos ? path : path.substr(at + 1);
}

// Steps before the walk: empty Temp and the log, read and check the library .toc, reset the
// counters. Nothing when the library .toc is missing (that has been shown).
std::optional<TocLibraryIndex> preparePack(Form& form, const std::string& caption) {
    ClearTempFolder(form);
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
    std::string tocText = readWholeFile(tocFile);
    form.window.yield();
    TocLibraryIndex library(readTocLibrary(tocText));

    form.window.setBusy(true);
    form.filesPackedCount = 0;
    form.filesZippedCount = 0;
    form.walkFileCount = 0;
    form.stocEntryCount = 0;
    return library;
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
    form.window.setPackFolderName(lastNameOf(pathText(*chosen)));
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

    std::optional<TocLibraryIndex> library;
    std::optional<std::vector<StocLibraryGroup>> groups;
    bool prepared = runGuarded(
        form, "PackMPAK",
        [&] {
            library = preparePack(form, caption);
            // The library .stoc is checked before the long compression pass, not after it.
            if (library) groups = readLibraryStoc(form, caption);
        },
        [&] {
            appendLogLine(form, "Pack operation aborted due to error.");
            ShowLog(form);
        });
    if (!prepared || !library) return;

    std::int16_t packStatus = kPackAborted;
    // The option is read once: a pack is staged alike from its first file to its last.
    const StagingJob job{form.extractedFilesPath / hostPath(name), *library, window.compressAllFiles()};
    if (groups && StageFolder(form, walkPackFolder(job.packFolder, [&window] { window.yield(); }), job)) {
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
}
