#include "extract/edited_files.h"

#include <algorithm>
#include <optional>

#include "common/failure.h"
#include "common/files.h"
#include "common/paths.h"
#include "extract/entry_collisions.h"
#include "extract/extract_entry.h"
#include "format/entry_stream.h"
#include "format/whole_inflate.h"
#include "shell/form.h"

namespace {

// The archive's copy and the file are compared a piece at a time: an entry may claim any
// original size and inflate to any length, and memory holds only a piece of each.
constexpr std::size_t kPiece = 1 << 16;

// The extracted file, matched against the archive's copy as its bytes come. A file that cannot
// be read is taken for changed: replacing it unasked could lose a modder's work.
class FileMatch {
public:
    explicit FileMatch(const fs::path& file) {
        try {
            reader_.emplace(file);
        } catch (const Failure&) {
            unreadable_ = true;
        }
    }
    // False once `bytes` are not the file's next bytes.
    bool next(std::string_view bytes) {
        while (!bytes.empty()) {
            if (pending_.empty() && (pending_ = piece()).empty()) return false;
            std::size_t n = std::min(pending_.size(), bytes.size());
            if (pending_.substr(0, n) != bytes.substr(0, n)) return false;
            pending_.remove_prefix(n);
            bytes.remove_prefix(n);
        }
        return true;
    }
    bool atEnd() { return pending_.empty() && piece().empty() && !unreadable_; }
    bool unreadable() const { return unreadable_; }

private:
    std::string_view piece() {
        if (unreadable_) return {};
        try {
            return reader_->read(kPiece);
        } catch (const Failure&) {
            unreadable_ = true;
            return {};
        }
    }
    std::optional<SequentialReader> reader_;
    std::string_view pending_;
    bool unreadable_ = false;
};

// Whether the raw DEFLATE stream of the entry inflates to the file's bytes: false at the first
// difference; nothing when the stream is corrupt or cut short before one, as extraction would
// then write nothing.
std::optional<bool> inflatesToFile(const fs::path& archive, const EntrySlot& slot, FileMatch& file) {
    bool same = true;
    const InflateResult inflated =
        inflatePieces(archive, std::uint64_t(slot.entryDataOffset), std::uint64_t(slot.entryStoredSize),
                      [&](std::string_view piece) { return same = file.next(piece); });
    if (!same) return false;
    if (inflated.end != InflateEnd::Complete) return std::nullopt;
    return file.atEnd();
}

}  // namespace

FileComparison compareFileWithEntry(const fs::path& archivePath, const EntrySlot& slot, const fs::path& path,
                                    std::uint64_t archiveSize) {
    if (!entryDataInside(slot, archiveSize)) return FileComparison::EntryUnreadable;
    std::error_code ec;
    std::uint64_t size = fs::file_size(path, ec);
    if (ec) return FileComparison::FileUnreadable;
    // A size that cannot be the archive's copy differs without reading anything.
    if (slot.entryCompressed != 1 && size != static_cast<std::uint64_t>(std::max(slot.entryStoredSize, 0)))
        return FileComparison::Differs;
    FileMatch file(path);
    if (file.unreadable()) return FileComparison::FileUnreadable;
    std::optional<bool> same;
    try {
        RangeReader archive(archivePath);
        if (slot.entryCompressed == 1 && slot.entryStoredSize > 0) {
            // A stream that inflates to the size the TOC gives is compared whole: faster, and
            // the same answer as piece by piece.
            if (std::optional<std::string> whole =
                    inflateWhole(archive, std::uint64_t(slot.entryDataOffset), std::uint64_t(slot.entryStoredSize),
                                 slot.entryOriginalSize))
                same = size == whole->size() && file.next(*whole) && file.atEnd();
            else
                same = inflatesToFile(archivePath, slot, file);
        } else {
            bool matched = true;
            readStoredPieces(archive, std::uint64_t(std::max(slot.entryDataOffset, 0)),
                             std::uint64_t(std::max(slot.entryStoredSize, 0)),
                             [&](std::string_view piece) { return matched = file.next(piece); });
            same = matched && file.atEnd();
        }
    } catch (const Failure&) {
        // The archive's data cannot be read: extraction would not replace the file either.
    }
    if (file.unreadable()) return FileComparison::FileUnreadable;
    if (!same) return FileComparison::EntryUnreadable;
    return *same ? FileComparison::Same : FileComparison::Differs;
}

namespace {

enum class Edit { None, Changed, Unreadable };

// A file that is not there (or not a file), and an entry whose data cannot be read, are no edit.
Edit editOf(const Form& form, const EntrySlot& slot, const fs::path& path, std::uint64_t archiveSize) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(path, ec))) return Edit::None;
    switch (compareFileWithEntry(form.archivePath, slot, path, archiveSize)) {
        case FileComparison::Differs:
            return Edit::Changed;
        case FileComparison::FileUnreadable:
            return Edit::Unreadable;
        default:
            return Edit::None;
    }
}

}  // namespace

EditedFiles findEditedFiles(const Form& form, const fs::path& archiveFolder, std::uint64_t archiveSize,
                            const EntryCollisions& collisions) {
    EditedFiles edited;
    CheckedFolders checked;
    for (int line = form.window.nextSelectedLine(-1); line >= 0; line = form.window.nextSelectedLine(line)) {
        if (line >= form.entryCount || static_cast<std::size_t>(line) >= form.entries.size()) break;
        const EntrySlot& slot = form.entries[static_cast<std::size_t>(line)];
        if (collisions.refusal(static_cast<std::size_t>(line))) continue;
        std::optional<fs::path> file = safeJoin(archiveFolder, slot.entryPath, &checked);
        Edit edit = file ? editOf(form, slot, *file, archiveSize) : Edit::None;
        if (edit == Edit::None) continue;
        if (edited.count++ == 0) {
            edited.firstPath = slot.entryPath;
            edited.firstUnreadable = edit == Edit::Unreadable;
        }
    }
    return edited;
}

std::string replaceQuestion(const EditedFiles& edited) {
    return std::to_string(edited.count) + " extracted files differ from the archive (first: " + edited.firstPath +
           (edited.firstUnreadable ? ", which cannot be read" : "") + "). Replace them with the archive's copies?";
}
