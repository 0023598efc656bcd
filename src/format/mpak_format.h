// The MPAK layout: the 16-byte header, TOC entries and STOC records, read from an archive's
// tables with every read bounds-checked and every width checked.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/table_bytes.h"

inline constexpr std::int32_t kMpakHeaderSize = 16;

struct MpakHeader {
    std::int32_t tocSize = 0, stocSize = 0;  // each counts its own 4-byte tag
    std::int16_t tocEntryCount = 0, stocEntryCount = 0;
};

// Reads the header from the first 16 bytes; the magic is not checked.
MpakHeader parseMpakHeader(std::string_view bytes);

// One TOC entry as stored; `name` keeps the archive's "/" separators.
struct TocEntry {
    std::string name;
    std::int32_t storedSize = 0, originalSize = 0;
    std::uint8_t compressed = 0;
    std::int16_t copies = 0;
    std::int32_t firstCopyOffset = 0;  // counted from the RAWD tag; read even when copies is 0
    std::int32_t nextEntryOffset = 0;  // where the next entry starts
};

// A TOC entry's bytes before its copy offsets: these fixed fields and the name.
inline constexpr std::size_t kTocHeadFixedBytes = 15;

// Reads the TOC entry at `offset` of the archive's tables. `number` (from 1) names the entry in
// failure texts.
TocEntry readTocEntry(TableBytes& tables, std::int32_t offset, int number);

// One STOC group as read back: `size` is the header the library shows ("[size]"); a group is
// complete when all its names were read.
struct StocGroup {
    int size = 0;
    std::vector<std::string> names;  // byte for byte, separators as stored
    bool complete = false;
};

struct StocWalk {
    std::vector<StocGroup> groups;  // the last one may be incomplete when the chunk ends first
    int completed = 0;
};

// Walks the STOC records from `offset` until `groupCount` groups are complete or the next
// record would not lie inside the chunk, which ends at `stocEnd` (the RAWD tag). A record
// whose would-be followerCount has a zero high byte opens a group of (low byte + 1) names; any
// other record is a plain one: a follower of the open group, or else a group of one.
StocWalk readStocGroups(TableBytes& tables, std::int32_t offset, std::int32_t stocEnd, std::int16_t groupCount);
