// "Select All" and "Extract Selected File(s)": the selected entries of the open archive are
// copied below ExtractedFiles\<archive>; compressed ones are parked in Temp as zlib-wrapped
// files and inflated by the unzip pass at the end.
#include <optional>
#include <string>
#include <vector>

#include "archive/other_archive.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/leftovers.h"
#include "common/links.h"
#include "common/paths.h"
#include "extract/edited_files.h"
#include "extract/entry_collisions.h"
#include "extract/extract_entry.h"
#include "extract/inflate_ahead.h"
#include "extract/selection.h"
#include "extract/unzip_temp_files.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

namespace {

const std::string kNoArchiveNotice = "No .MPAK file loaded.\r\n\r\nFirst select an .MPAK file you want to extract.";

std::int32_t selectedCount(const Form& form) { return form.window.selectedLineCount(); }

// List line i is slot i of the entry table; a line beyond the table has nothing to extract.
const EntrySlot& entryAt(const Form& form, std::int32_t index) {
    if (index < 0 || index >= form.entryCount || static_cast<std::size_t>(index) >= form.entries.size())
        throw Failure("List line " + std::to_string(index) + " has no entry in the archive's table (" +
                      std::to_string(form.entryCount) + " entries).");
    return form.entries[static_cast<std::size_t>(index)];
}

// ExtractedFiles\<archive>; made when missing, errors ignored: a folder that is truly missing
// makes the first write fail, which reports it.
fs::path prepareArchiveFolder(const Form& form, const std::string& archiveName) {
    if (isLinkOrJunction(form.extractedFilesPath / hostPath(archiveName)))
        throw Failure("ExtractedFiles\\" + archiveName + " is a link; extraction does not follow links.");
    if (!isPlainName(archiveName))
        throw Failure("The archive name " + archiveName + " cannot name a folder inside '" +
                      pathText(form.extractedFilesPath) + "'.");
    const fs::path folder = form.extractedFilesPath / hostPath(archiveName);
    std::error_code ignored;
    fs::create_directory(folder, ignored);
    return folder;
}

// Every folder between the extraction folder and the entry's file, outermost first; `made`
// holds the entry folders already there, so that the entries of one folder look for it once.
// Gives the archive path of a file found where a folder must go, which keeps this entry out.
std::optional<std::string> createEntryFolders(const fs::path& archiveFolder, const fs::path& target,
                                              CheckedFolders& made) {
    if (made.count(target.parent_path().native()) > 0) return std::nullopt;
    fs::path folder = archiveFolder;
    for (const fs::path& segment : target.parent_path().lexically_relative(archiveFolder)) {
        if (segment == ".") continue;  // the entry lies directly in the extraction folder
        folder /= segment;
        std::error_code ec;
        if (fs::is_directory(folder, ec)) continue;
        fs::create_directory(folder, ec);
        if (!ec) continue;
        std::error_code statError;
        if (fs::exists(fs::symlink_status(folder, statError))) return archivePathOf(archiveFolder, folder);
        failFile("create the folder", folder, ec.message());
    }
    made.insert(target.parent_path().native());
    return std::nullopt;
}

// What one extraction run needs besides the form.
struct ExtractionRun {
    std::string archiveName;
    fs::path archiveFolder;  // ExtractedFiles\<archive>
    std::uint64_t archiveSize;
    std::size_t tempNameLimit;
    CheckedFolders linkChecked;         // folders of entry paths found to be no link
    CheckedFolders made;                // entry folders made or found
    RangeReader archive;                // open from the first entry read to the last
    const EntryCollisions& collisions;  // entries that would land where an earlier one does
    std::vector<fs::path> parked;       // the ".gz" files written into Temp
};

// Extracts the entry of list line `index`, or logs why it is left out; counts it when it was
// written.
void extractEntry(Form& form, ExtractionRun& run, std::int32_t index, InflateAhead& ahead) {
    const EntrySlot& slot = entryAt(form, index);
    const std::string& path = slot.entryPath;
    std::optional<fs::path> target = safeJoin(run.archiveFolder, path, &run.linkChecked);
    if (!target) {
        appendLeftOutLine(form, "Refused unsafe path: " + path);
        return;
    }
    if (!entryDataInside(slot, run.archiveSize)) {
        appendLeftOutLine(form, "Data past the end of the archive: " + path);
        return;
    }
    if (std::optional<std::string> refusal = run.collisions.refusal(static_cast<std::size_t>(index))) {
        appendLeftOutLine(form, *refusal);
        return;
    }
    // An entry of no bytes has nothing to inflate: it is an empty file, like a stored one.
    const bool compressed = slot.entryCompressed == 1 && slot.entryStoredSize > 0;
    fs::path wrappedPath;
    if (compressed) {
        std::string wrappedName = wrappedFileName(run.archiveName, path);
        if (wrappedName.size() > run.tempNameLimit) {
            appendLeftOutLine(form, "Name too long for Temp: " + path);
            return;
        }
        wrappedPath = form.tempPath / hostPath(wrappedName);
    }

    std::string entryData = readEntryData(run.archive, slot);
    form.window.yield();
    if (std::optional<std::string> file = createEntryFolders(run.archiveFolder, *target, run.made)) {
        appendLeftOutLine(form, "Refused: " + path + " would overwrite the file " + *file);
        return;
    }

    EntryPlace place = splitEntryPath(path);
    std::string line = "Extracting " + std::to_string(form.filesExtractedCount + 1) + "\\" +
                       std::to_string(selectedCount(form)) + ": " + place.folder + "\\" + place.name;
    form.window.setStatus(line);
    appendLogLine(form, line);

    if (compressed) {
        ahead.forget(wrappedPath);
        WriteZlibWrapped(wrappedPath, entryData);
        ahead.add(wrappedPath);
        run.parked.push_back(wrappedPath);
        ++form.filesUnzippedCount;
    } else {
        // Replaced whole or not at all: a full disk never leaves a cut-short file behind.
        try {
            writeFileReplacing(*target, entryData);
        } catch (const Failure&) {
            std::error_code ec;
            if (!fs::is_directory(fs::symlink_status(*target, ec))) throw;
            appendLeftOutLine(form, "Refused: " + path + " would overwrite the folder " + path);
            return;
        }
    }
    ++form.filesExtractedCount;
}

void extractSelected(Form& form, const std::string& archiveName, int leftoversRemoved,
                     const EntryCollisions& collisions) {
    form.window.setStatus("");
    form.logText.clear();
    if (leftoversRemoved > 0) appendLogLine(form, leftoversRemovedLine(leftoversRemoved));
    form.resultsFolder.clear();
    ClearTempFolder(form);
    std::int32_t index = FindFirstSelected(form, 0);

    fs::path archiveFolder = prepareArchiveFolder(form, archiveName);
    form.window.yield();
    form.filesExtractedCount = 0;
    form.filesUnzippedCount = 0;
    form.entriesLeftOutCount = 0;
    form.window.setBusy(true);

    const std::uint64_t archiveSize = fileSizeOf(form.archivePath);
    ExtractionRun run{archiveName,
                      archiveFolder,
                      archiveSize,
                      longestFileName(form.tempPath),
                      {},
                      {},
                      RangeReader(form.archivePath),
                      collisions,
                      {}};
    const std::int32_t passes = selectedCount(form);
    try {
        InflateAhead ahead(helperProgramPath(form.programFolder, "zlibc"), form.tempPath, form.helperRunsAtOnce);
        for (std::int32_t pass = 1; pass <= passes; ++pass) {
            extractEntry(form, run, index, ahead);
            ahead.keepRunning();
            // Counted by passes, so that entries left out still move the bar to its end.
            std::int32_t total = selectedCount(form);
            form.window.setProgress(total > 0 ? static_cast<float>(pass) / static_cast<float>(total) : 1.0f);
            form.window.yield();
            index = FindNextSelected(form, index);
        }

        form.window.yield();
        form.window.yield();
        if (form.filesUnzippedCount > 0) UnzipTempFiles(form, ahead, run.parked);
    } catch (const std::exception&) {
        // A failed extraction takes its parked files along; its helper runs have ended here.
        for (const fs::path& file : run.parked) {
            std::error_code ignored;
            fs::remove(file, ignored);
        }
        throw;
    }

    form.window.setStatus("");
    appendLogLine(form, std::to_string(form.filesUnzippedCount) + " files unzipped.");
    appendLogLine(form, std::to_string(form.filesExtractedCount) + " files extracted.");
    appendLogLine(form, "Extraction complete.");
    ShowLog(form);
    form.window.focusLog();
    form.window.setBusy(false);
    showResultsFolder(form, archiveFolder);
}

// The answer No: the log and the status line say that nothing was written, and why.
Outcome nothingExtracted(Form& form, const std::string& why) {
    const std::string line = "Nothing extracted: " + why;
    form.logText.clear();
    appendLogLine(form, line);
    form.window.setStatus(line);
    ShowLog(form);
    return Outcome::refused(line);
}

}  // namespace

Outcome SelectAll(Form& form) {
    if (form.window.listLineCount() > 0) form.window.selectAllLines();
    return {};
}

Outcome MassExtract(Form& form) {
    const std::string archiveName = form.archiveName;
    if (archiveName.empty()) {
        showNotice(form, kNoArchiveNotice);
        Outcome opened = SelectMPAKfile(form);
        return opened.kind == Outcome::Kind::Failed ? opened : Outcome::refused(kNoArchiveNotice);
    }
    Outcome outcome;
    Outcome guarded = runGuarded(form, "Extract", [&] {
        // Nothing to extract is done: an archive without entries selects none.
        if (form.window.selectedLineCount() == 0) return showNotice(form, "No files selected.");
        std::error_code ec;
        const fs::path archiveFolder = form.extractedFilesPath / hostPath(archiveName);
        const bool folderThere = !isLinkOrJunction(archiveFolder) && fs::is_directory(archiveFolder, ec);
        // A killed run's unfinished files are no modder's: gone before anything looks at the folder.
        const int leftovers = folderThere ? removeLeftovers(archiveFolder, true) : 0;
        const std::uint64_t archiveSize = fileSizeOf(form.archivePath);
        const EntryCollisions collisions(
            form.entries, [archiveSize](const EntrySlot& slot) { return entryDataInside(slot, archiveSize); });
        // Another archive of this name is not mixed in without a word...
        const std::string otherArchive =
            otherArchiveQuestion(archiveName, folderThere ? filesTheArchiveLacks(form, archiveFolder) : NotListed{},
                                 entriesTheLibraryTocLacks(form, archiveName));
        if (!otherArchive.empty() && !form.window.askYesNo(otherArchive, kAppTitle)) {
            outcome = nothingExtracted(form, "ExtractedFiles\\" + archiveName + " and Library\\" + archiveName +
                                                 ".toc may belong to another archive of this name; both were left as "
                                                 "they are.");
            return;
        }
        // ...and a modder's edits are replaced only when the modder says so.
        if (folderThere) {
            EditedFiles edited = findEditedFiles(form, archiveFolder, archiveSize, collisions);
            if (edited.count > 0 && !form.window.askYesNo(replaceQuestion(edited), kAppTitle)) {
                outcome = nothingExtracted(form, std::to_string(edited.count) +
                                                     " extracted files differ from the archive and were kept (first: " +
                                                     edited.firstPath + ").");
                return;
            }
        }
        extractSelected(form, archiveName, leftovers, collisions);
        outcome = finishedOutcome(form);
    });
    return guarded.done() ? outcome : guarded;
}
