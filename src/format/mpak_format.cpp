// Reading the MPAK header, TOC entries and STOC records.
#include "format/mpak_format.h"

#include "common/bytes.h"
#include "common/failure.h"
#include "common/text.h"

namespace {

std::string offsetText(long long offset) {
    return offset < 0 ? "-0x" + hexUpper(static_cast<std::uint64_t>(-offset))
                      : "0x" + hexUpper(static_cast<std::uint64_t>(offset));
}

// Fails unless `length` bytes from `offset` lie inside the tables (which end at the RAWD tag's
// end, or earlier at the end of a file cut short).
void needInTables(const TableBytes& tables, long long offset, long long length, const char* kind, int number) {
    auto size = static_cast<long long>(tables.size());
    if (offset < 0 || offset > size || length > size - offset)
        throw Failure("The " + std::string(kind) + " " + std::to_string(number) + " at offset " + offsetText(offset) +
                      " runs past the end of the archive's tables (offset " + offsetText(size) +
                      "): the archive is damaged or cut short.");
}

}  // namespace

MpakHeader parseMpakHeader(std::string_view bytes) {
    ByteReader in(bytes);
    MpakHeader header;
    header.tocSize = in.i32(4, "header's TOC size");
    header.stocSize = in.i32(8, "header's STOC size");
    header.tocEntryCount = in.i16(12, "header's TOC entry count");
    header.stocEntryCount = in.i16(14, "header's STOC entry count");
    return header;
}

TocEntry readTocEntry(TableBytes& tables, std::int32_t offset, int number) {
    needInTables(tables, offset, 12, "TOC entry", number);
    std::uint8_t nameLength = ByteReader(tables.bytes(offset, 12)).u8(11, "TOC entry's name length");
    // The fixed fields, the name, its terminator, copies and the first copy offset.
    needInTables(tables, offset, 19 + nameLength, "TOC entry", number);
    ByteReader in(tables.bytes(offset, 19 + nameLength));

    TocEntry entry;
    entry.name = std::string(in.bytes(12, nameLength, "TOC entry's name"));
    entry.storedSize = in.i32(2, "TOC entry's stored size");
    entry.originalSize = in.i32(6, "TOC entry's original size");
    entry.compressed = in.u8(10, "TOC entry's compressed flag");
    entry.copies = in.i16(13 + nameLength, "TOC entry's copies");
    entry.firstCopyOffset = in.i32(15 + nameLength, "TOC entry's first copy offset");

    // The offsets' length is a signed 16-bit product: copies above 8191 overflow it.
    int offsetsLength = 4 * entry.copies;
    if (offsetsLength < INT16_MIN || offsetsLength > INT16_MAX)
        throw Failure("TOC entry " + std::to_string(number) + " at offset " + offsetText(offset) + " says it has " +
                      std::to_string(entry.copies) +
                      " copies; an archive entry can have at most 8191: the archive is damaged.");
    entry.nextEntryOffset = addInt32(offset, 15 + nameLength + offsetsLength, "the position of the next TOC entry");
    return entry;
}

StocWalk readStocGroups(TableBytes& tables, std::int32_t offset, std::int32_t stocEnd, std::int16_t groupCount) {
    StocWalk walk;
    std::vector<StocGroup>& groups = walk.groups;
    long long position = offset;
    int stillToCome = 0;  // names the open group still expects
    for (int number = 1; walk.completed < groupCount; ++number) {
        // A record that does not lie whole inside the chunk is no record of it.
        if (position >= stocEnd) break;
        needInTables(tables, position, 1, "STOC record", number);
        std::uint8_t nameLength = ByteReader(tables.bytes(position, 1)).u8(0, "STOC record's name length");
        if (position + 2 + nameLength > stocEnd) break;
        // The name, its terminator and the two bytes of a would-be followerCount.
        needInTables(tables, position, 4 + nameLength, "STOC record", number);
        ByteReader in(tables.bytes(position, 4 + nameLength));
        std::string name(in.bytes(1, nameLength, "STOC record's name"));

        if (in.u8(3 + nameLength, "STOC record's followerCount") == 0) {
            int followers = in.u8(2 + nameLength, "STOC record's followerCount");
            groups.push_back({followers + 1, {std::move(name)}, false});
            stillToCome = followers;
            position += 4 + nameLength;
            continue;
        }
        position += 2 + nameLength;
        if (stillToCome > 0) {
            groups.back().names.push_back(std::move(name));
            if (--stillToCome == 0) {
                groups.back().complete = true;
                ++walk.completed;
            }
        } else {
            groups.push_back({1, {std::move(name)}, true});
            ++walk.completed;
        }
    }
    return walk;
}
