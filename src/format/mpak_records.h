// The byte forms of the records that the writer puts into the work files: TOC entries, STOC
// groups and the 16-byte header. Each refuses what the archive reader could not read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/entry_slot.h"

// The reader's limits, which the writer keeps to.
inline constexpr int kMaxArchiveEntries = kEntryTableSlots;  // the archive format's limit
inline constexpr int kMaxNameLength = 255;                   // one length byte
inline constexpr int kMaxGroupNames = 256;                   // the reader takes only followerCount's low byte

// One TOC entry without its copy offsets: entryLength, storedSize, originalSize, compressed,
// nameLength, name, 0, copies. The offsets follow it, one 32-bit value per copy.
void appendTocEntryHead(std::string& toc, std::string_view name, std::int32_t storedSize, std::int32_t originalSize,
                        bool compressed, std::int16_t copies);

// A STOC group: the first record carries followerCount (names - 1) when the group has two or
// more names; a group of one is a single plain record. `what` names the group in failures.
void appendStocGroup(std::string& stoc, const std::vector<std::string>& names, const std::string& what);

// "MPAK", tocSize, stocSize, tocEntryCount, stocEntryCount.
std::string mpakHeader(std::int32_t tocSize, std::int32_t stocSize, std::int16_t tocEntryCount,
                       std::int16_t stocEntryCount);
