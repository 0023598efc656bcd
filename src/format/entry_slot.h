// One slot of an open archive's entry table: what the TOC says of one entry. Slot i is line i
// of the file list.
#pragma once

#include <cstdint>
#include <string>

struct EntrySlot {
    std::string entryPath;  // "\" separators
    std::int32_t entryDataOffset = 0;
    std::int32_t entryStoredSize = 0;
    std::int32_t entryOriginalSize = 0;
    std::uint8_t entryCompressed = 0;
    std::int16_t entryCopies = 0;
};

// The archive format's limit on entries: the game's table of entries has this many slots.
inline constexpr int kEntryTableSlots = 10001;
