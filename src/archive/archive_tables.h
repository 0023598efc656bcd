// Reading an archive's header, TOC and STOC from its file: the core of opening an archive,
// shared by ProcessLibrary and the mpak-dump tool.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "archive/mpak_format.h"
#include "shell/form.h"

// The header and where its three chunks start (the offsets of their tags).
struct ArchiveLayout {
    MpakHeader header;
    std::int32_t tocStart = 0, stocStart = 0, rawdStart = 0;
    std::uint64_t fileSize = 0;
};

struct ArchiveTables {
    std::vector<EntrySlot> entries;     // in TOC order; slot i is list line i
    std::vector<StocGroup> stocGroups;  // empty when the header declares no STOC group
};

// Reads the header and computes the chunk positions (signed 32-bit sums).
ArchiveLayout readArchiveLayout(const std::filesystem::path& archive);

// Called after each TOC entry with the number read so far.
using EntryProgress = std::function<void(int entriesRead)>;

// Reads the TOC and, when the header declares STOC groups, the STOC. Fails with a description
// of what is wrong and where for a damaged archive: chunks past the end of the file, more
// entries than the table's 10001 slots, records past the end of the tables, overflowing
// widths, or entry data past the end of the file.
ArchiveTables readArchiveTables(const std::filesystem::path& archive, const ArchiveLayout& layout,
                                const EntryProgress& onEntry = {});
