// Reading an archive's tables from its file.
#include "archive/archive_tables.h"

#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"

namespace {

std::string hex(long long value) {
    return value < 0 ? "-0x" + hexUpper(static_cast<std::uint64_t>(-value))
                     : "0x" + hexUpper(static_cast<std::uint64_t>(value));
}

void checkChunks(const std::filesystem::path& archive, const ArchiveLayout& layout) {
    const MpakHeader& h = layout.header;
    if (h.tocSize < 4 || h.stocSize < 4)
        throw Failure("The header gives the TOC chunk " + std::to_string(h.tocSize) + " bytes and the STOC chunk " +
                      std::to_string(h.stocSize) + " bytes; each chunk holds at least its 4-byte tag.");
    if (static_cast<std::uint64_t>(layout.rawdStart) + 4 > layout.fileSize)
        throw Failure("The RAWD chunk at offset " + hex(layout.rawdStart) + " lies past the end of '" +
                      pathText(archive) + "' (" + std::to_string(layout.fileSize) +
                      " bytes): the file is cut short or its header is damaged.");
    if (h.tocEntryCount > kEntryTableSlots)
        throw Failure("The TOC lists " + std::to_string(h.tocEntryCount) + " entries; at most " +
                      std::to_string(kEntryTableSlots) + " can be loaded.");
}

EntrySlot slotOf(const TocEntry& entry, const ArchiveLayout& layout, int number) {
    EntrySlot slot;
    slot.entryPath = replaceAll(entry.name, '/', '\\');
    slot.entryDataOffset =
        addInt32(layout.rawdStart, entry.firstCopyOffset, "the data offset (RAWD position + copy offset)");
    slot.entryStoredSize = entry.storedSize;
    slot.entryOriginalSize = entry.originalSize;
    slot.entryCompressed = entry.compressed;
    slot.entryCopies = entry.copies;
    // An entry without copies has no data of its own; its offset is whatever follows.
    if (entry.copies > 0) {
        long long begin = slot.entryDataOffset, length = slot.entryStoredSize;
        if (begin < 0 || length < 0 || static_cast<std::uint64_t>(begin + length) > layout.fileSize)
            throw Failure("The data of TOC entry " + std::to_string(number) + " (" + slot.entryPath + "), " +
                          std::to_string(length) + " bytes at offset " + hex(begin) +
                          ", runs past the end of the file (" + std::to_string(layout.fileSize) + " bytes).");
    }
    return slot;
}

}  // namespace

ArchiveLayout readArchiveLayout(const std::filesystem::path& archive) {
    ArchiveLayout layout;
    layout.fileSize = fileSizeOf(archive);
    if (layout.fileSize < static_cast<std::uint64_t>(kMpakHeaderSize))
        throw Failure("'" + pathText(archive) + "' is " + std::to_string(layout.fileSize) +
                      " bytes long, too short for the 16-byte MPAK header.");
    layout.header = parseMpakHeader(readFileRange(archive, 0, kMpakHeaderSize));
    layout.tocStart = kMpakHeaderSize;
    layout.stocStart = addInt32(layout.header.tocSize, kMpakHeaderSize, "the STOC position (TOC size + 16)");
    layout.rawdStart =
        addInt32(layout.stocStart, layout.header.stocSize, "the RAWD position (STOC position + STOC size)");
    return layout;
}

ArchiveTables readArchiveTables(const std::filesystem::path& archive, const ArchiveLayout& layout,
                                const EntryProgress& onEntry) {
    checkChunks(archive, layout);
    // Everything up to the end of the RAWD tag: the STOC walk looks one byte into the tag.
    std::string tables = readFileRange(archive, 0, static_cast<std::uint64_t>(layout.rawdStart) + 4);

    ArchiveTables result;
    int count = layout.header.tocEntryCount;  // a negative count reads no entries
    result.entries.reserve(count > 0 ? count : 0);
    std::int32_t position = layout.tocStart + 4;  // past "TOC" and its zero byte
    for (int number = 1; number <= count; ++number) {
        TocEntry entry = readTocEntry(tables, position, number);
        result.entries.push_back(slotOf(entry, layout, number));
        position = entry.nextEntryOffset;
        if (onEntry) onEntry(number);
    }
    if (layout.header.stocEntryCount >= 1)
        result.stocGroups = readStocGroups(tables, layout.stocStart + 4, layout.header.stocEntryCount);
    return result;
}
