// ProcessLibrary: reads the open archive's tables into the form and the window.
#include "archive/process_library.h"

#include <algorithm>
#include <exception>

#include "archive/other_archive.h"
#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"
#include "format/library_files.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

namespace {

void resetWindow(Window& window) {
    clearListAndLog(window);
    window.repaintWindow();
    window.yield();
}

// Each line is added to what the log view shows, as the view's text is written back whole.
void logChunkPositions(Form& form, const ArchiveLayout& layout) {
    for (const std::string& line : chunkLogLines(layout))
        form.window.showLogText(form.window.logViewText() + line, Caret::Start);
    form.logText = form.window.logViewText();
}

void storeEntries(Form& form, std::vector<EntrySlot>&& entries) {
    // Slots beyond the new count keep what an earlier archive left there.
    if (form.entries.size() < entries.size()) form.entries.resize(entries.size());
    std::move(entries.begin(), entries.end(), form.entries.begin());
    form.entryCount = static_cast<std::int32_t>(entries.size());
}

// One list line per entry, with the list's extent and the item count kept up to date. The
// window paints only at the repaints every 100 lines and after the loop, so the extent is set
// when it changes and the count when it is painted: what the user sees is the same.
std::string fillList(Form& form) {
    Window& window = form.window;
    std::string tocText = tocLibraryIntro();
    for (std::int32_t i = 0; i < form.entryCount; ++i) {
        const EntrySlot& slot = form.entries[static_cast<std::size_t>(i)];
        std::string line = listLine(slot);
        tocText += tocLibraryLine(slot);
        window.addListLine(line);
        if (i == 0 || form.maxItemLength < static_cast<std::int32_t>(line.size())) {
            form.maxItemLength = std::max(form.maxItemLength, static_cast<std::int32_t>(line.size()));
            window.setListExtent(form.maxItemLength);
        }
        int count = window.listLineCount();
        if (count % 100 == 0 || i == form.entryCount - 1) window.setItemCountText(std::to_string(count) + " Items");
        if (count % 100 == 0) window.repaintList();
    }
    return tocText;
}

void openArchive(Form& form) {
    Window& window = form.window;
    resetWindow(window);

    ArchiveLayout layout = readArchiveLayout(form.archivePath);
    logChunkPositions(form, layout);

    window.setBusy(true);
    window.repaintWindow();
    window.yield();
    window.yield();

    form.entryCount = 0;
    int total = layout.header.tocEntryCount;
    ArchiveTables tables = readArchiveTables(form.archivePath, layout, [&](int entriesRead) {
        form.window.setProgress(static_cast<float>(1.0 - static_cast<double>(total - entriesRead) / total));
    });
    storeEntries(form, std::move(tables.entries));
    if (std::string shortfall = stocShortfallLine(layout, tables); !shortfall.empty()) appendLogLine(form, shortfall);

    const std::string stocText = stocLibraryText(tables.stocGroups, layout.header.stocEntryCount);
    if (layout.header.stocEntryCount >= 1) ShowLog(form);
    window.yield();

    const std::string tocText = fillList(form);
    const std::string& archiveName = form.archiveName;
    // A library .toc written before, for another archive of this name, is noted in the log.
    const NotListed unlisted = entriesTheLibraryTocLacks(form, archiveName);
    writeLibraryFiles(form.libraryPath, archiveName, tocText, stocText);
    if (unlisted.count > 0) {
        appendLogLine(form, libraryTocLacksLine(archiveName, unlisted));
        ShowLog(form);
    }
    window.setBusy(false);
}

}  // namespace

Outcome ProcessLibrary(Form& form) {
    // A failed open leaves no archive loaded.
    return runGuarded(
        form, "ProcessLibrary",
        [&] {
            try {
                openArchive(form);
            } catch (const std::exception& e) {
                throw Failure(openFailureDescription(form.archivePath, e.what()));
            }
        },
        [&] {
            Window& window = form.window;
            window.yield();
            setArchiveName(form, "");
            clearFileList(window);
        });
}
