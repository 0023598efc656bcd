// The texts an opened archive produces: the log's chunk lines, the list lines and the
// library .toc and .stoc texts (as built, before their trailing CR LF pairs are removed).
#pragma once

#include <string>
#include <vector>

#include "format/archive_tables.h"
#include "format/entry_slot.h"

// "TOC = x10, 3 entries\r\n", "STOC = x4F, 1 entries\r\n", "RAWD = x60\r\n\r\n"
std::vector<std::string> chunkLogLines(const ArchiveLayout& layout);

// "STOC holds only 1 of 3 groups." when the STOC chunk ends before the header's count; empty
// when it holds them all.
std::string stocShortfallLine(const ArchiveLayout& layout, const ArchiveTables& tables);

// "0000E6B4 0000F0FF 00000A4C 00002000 01 1 textures\sky.tga". Fails when the compressed
// byte does not fit its two-digit field.
std::string listLine(const EntrySlot& slot);

// The six comment lines and the empty line that start the .toc text.
std::string tocLibraryIntro();
// "01 1 textures\sky.tga\r\n"
std::string tocLibraryLine(const EntrySlot& slot);
// The whole .toc text for these entries.
std::string tocLibraryText(const std::vector<EntrySlot>& entries);

// The .stoc text: its eight comment lines, the empty line and one block per group; empty when
// the header declares no STOC group (stocEntryCount below 1).
std::string stocLibraryText(const std::vector<StocGroup>& groups, std::int16_t stocEntryCount);
