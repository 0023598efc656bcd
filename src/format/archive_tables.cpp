// Reading an archive's tables from its file.
#include "format/archive_tables.h"

#include <algorithm>

#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"

namespace {

void checkChunks(const ArchiveLayout& layout) {
    const MpakHeader& h = layout.header;
    if (h.tocSize < 4 || h.stocSize < 4)
        throw Failure("The header gives the TOC chunk " + std::to_string(h.tocSize) + " bytes and the STOC chunk " +
                      std::to_string(h.stocSize) + " bytes; each chunk holds at least its 4-byte tag.");
    if (h.tocEntryCount > kEntryTableSlots)
        throw Failure("The TOC lists " + std::to_string(h.tocEntryCount) + " entries; an archive holds at most " +
                      std::to_string(kEntryTableSlots) + ", the limit of the archive format.");
}

EntrySlot slotOf(const TocEntry& entry, const ArchiveLayout& layout) {
    EntrySlot slot;
    slot.entryPath = replaceAll(entry.name, '/', '\\');
    slot.entryDataOffset =
        addInt32(layout.rawdStart, entry.firstCopyOffset, "the data offset (RAWD position + copy offset)");
    slot.entryStoredSize = entry.storedSize;
    slot.entryOriginalSize = entry.originalSize;
    slot.entryCompressed = entry.compressed;
    slot.entryCopies = entry.copies;
    // The data is not looked at here: an entry whose data is cut short or misplaced is still
    // listed, and extraction skips it.
    return slot;
}

// The data offsets of the copies after the first, as far as they lie inside the tables.
std::vector<std::int64_t> laterCopyOffsets(TableBytes& tables, const TocEntry& entry, const ArchiveLayout& layout) {
    std::vector<std::int64_t> offsets;
    const std::int64_t first = std::int64_t(entry.nextEntryOffset) - 4 * std::int64_t(entry.copies);
    for (std::int64_t k = 1; k < entry.copies; ++k) {
        const std::int64_t at = first + 4 * k;
        if (at < 0 || std::uint64_t(at) + 4 > tables.size()) break;
        const std::int32_t offset = ByteReader(tables.bytes(std::uint64_t(at), 4)).i32(0, "TOC entry's copy offset");
        offsets.push_back(std::int64_t(layout.rawdStart) + offset);
    }
    return offsets;
}

}  // namespace

ArchiveLayout readArchiveLayout(const std::filesystem::path& archive) {
    ArchiveLayout layout;
    layout.fileSize = fileSizeOf(archive);
    if (layout.fileSize < static_cast<std::uint64_t>(kMpakHeaderSize))
        throw Failure("'" + pathText(archive) + "' is " + byteCount(layout.fileSize) +
                      " long, too short for the 16-byte header of an archive.");
    layout.header = parseMpakHeader(readFileRange(archive, 0, kMpakHeaderSize));
    layout.tocStart = kMpakHeaderSize;
    layout.stocStart = addInt32(layout.header.tocSize, kMpakHeaderSize, "the STOC position (TOC size + 16)");
    layout.rawdStart =
        addInt32(layout.stocStart, layout.header.stocSize, "the RAWD position (STOC position + STOC size)");
    return layout;
}

std::string openFailureDescription(const std::filesystem::path& archive, const std::string& description) {
    try {
        if (fileSizeOf(archive) >= 4 && readFileRange(archive, 0, 4) == "MPAK") return description;
    } catch (const std::exception&) {
        return description;  // not there, or not readable: the failure says so
    }
    return "'" + pathText(archive) +
           "' is not an MPAK archive: it does not begin with the bytes \"MPAK\" that every "
           "archive begins with.";
}

ArchiveTables readArchiveTables(const std::filesystem::path& archive, const ArchiveLayout& layout,
                                const EntryProgress& onEntry, bool withEntryRecords) {
    checkChunks(layout);
    // Everything up to the end of the RAWD tag (the STOC walk looks one byte into the tag), or
    // to the end of a file cut short before it: only the records read must lie inside.
    std::uint64_t tablesEnd =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(layout.rawdStart) + 4, layout.fileSize);
    TableBytes tables(archive, tablesEnd);

    ArchiveTables result;
    int count = layout.header.tocEntryCount;  // a negative count reads no entries
    result.entries.reserve(count > 0 ? count : 0);
    std::int32_t position = layout.tocStart + 4;  // past "TOC" and its zero byte
    for (int number = 1; number <= count; ++number) {
        TocEntry entry = readTocEntry(tables, position, number);
        result.entries.push_back(slotOf(entry, layout));
        if (withEntryRecords) {
            result.laterCopies.push_back(laterCopyOffsets(tables, entry, layout));
            result.tocHeads.emplace_back(tables.bytes(std::uint64_t(position), kTocHeadFixedBytes + entry.name.size()));
        }
        position = entry.nextEntryOffset;
        if (onEntry) onEntry(number);
    }
    if (layout.header.stocEntryCount >= 1) {
        StocWalk walk = readStocGroups(tables, layout.stocStart + 4, layout.rawdStart, layout.header.stocEntryCount);
        result.stocGroups = std::move(walk.groups);
        result.stocGroupsCompleted = walk.completed;
    }
    return result;
}
