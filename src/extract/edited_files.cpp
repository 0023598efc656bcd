#include "extract/edited_files.h"

#include <libdeflate.h>

#include <memory>
#include <optional>

#include "common/files.h"
#include "common/paths.h"
#include "extract/extract_entry.h"
#include "shell/form.h"

namespace {

// What extraction would write for the entry; nothing when it would write nothing.
std::optional<std::string> archiveCopy(const Form& form, const EntrySlot& slot, std::uint64_t archiveSize) {
    if (!entryDataInside(slot, archiveSize)) return std::nullopt;
    RangeReader archive(form.archivePath);
    std::string stored = readEntryData(archive, slot);
    if (slot.entryCompressed != 1 || stored.empty()) return stored;
    std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> inflater(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    // The inflated size is not stored in the stream; the TOC's original size is a start.
    for (std::size_t room = std::max<std::size_t>(std::size_t(std::max(slot.entryOriginalSize, 0)), 64) + 1;;
         room *= 2) {
        std::string inflated(room, '\0');
        std::size_t got = 0;
        libdeflate_result result =
            libdeflate_deflate_decompress(inflater.get(), stored.data(), stored.size(), inflated.data(), room, &got);
        if (result == LIBDEFLATE_SUCCESS) return inflated.substr(0, got);
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE || room > 0x7FFFFFFF) return std::nullopt;
    }
}

bool differs(const Form& form, const EntrySlot& slot, const fs::path& file, std::uint64_t archiveSize) {
    std::error_code ec;
    if (!entryDataInside(slot, archiveSize) || !fs::is_regular_file(fs::symlink_status(file, ec))) return false;
    std::uint64_t size = fs::file_size(file, ec);
    if (ec) return false;
    // A size that cannot be the archive's copy differs without reading anything.
    if (slot.entryCompressed != 1 && size != static_cast<std::uint64_t>(std::max(slot.entryStoredSize, 0))) return true;
    std::optional<std::string> copy = archiveCopy(form, slot, archiveSize);
    return copy && *copy != readWholeFile(file);
}

}  // namespace

EditedFiles findEditedFiles(const Form& form, const fs::path& archiveFolder, std::uint64_t archiveSize) {
    EditedFiles edited;
    CheckedFolders checked;
    for (int line = form.window.nextSelectedLine(-1); line >= 0; line = form.window.nextSelectedLine(line)) {
        if (line >= form.entryCount || static_cast<std::size_t>(line) >= form.entries.size()) break;
        const EntrySlot& slot = form.entries[static_cast<std::size_t>(line)];
        std::optional<fs::path> file = safeJoin(archiveFolder, slot.entryPath, &checked);
        try {
            if (!file || !differs(form, slot, *file, archiveSize)) continue;
        } catch (const std::exception&) {
            continue;  // what cannot be read is not replaced either
        }
        if (edited.count++ == 0) edited.firstPath = slot.entryPath;
    }
    return edited;
}

std::string replaceQuestion(const EditedFiles& edited) {
    return std::to_string(edited.count) + " extracted files differ from the archive (first: " + edited.firstPath +
           "). Replace them with the archive's copies?";
}
