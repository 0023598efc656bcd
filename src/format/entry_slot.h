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

// Whether `size` stored bytes at `offset` (an entry's data or one of its copies) lie inside a
// file of `fileSize` bytes. No bytes always do, wherever the offset points.
inline bool storedBytesInside(std::int64_t offset, std::int64_t size, std::uint64_t fileSize) {
    if (size == 0) return true;
    if (offset < 0 || size < 0) return false;
    return std::uint64_t(offset) <= fileSize && std::uint64_t(size) <= fileSize - std::uint64_t(offset);
}

// The archive format's limit on entries: the game's table of entries has this many slots.
inline constexpr int kEntryTableSlots = 10001;
