// Reading an archive's header, TOC and STOC from its file: the core of opening an archive,
// shared by ProcessLibrary and the mpak-dump tool.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "format/entry_slot.h"
#include "format/mpak_format.h"

// The header and where its three chunks start (the offsets of their tags).
struct ArchiveLayout {
    MpakHeader header;
    std::int32_t tocStart = 0, stocStart = 0, rawdStart = 0;
    std::uint64_t fileSize = 0;
};

struct ArchiveTables {
    std::vector<EntrySlot> entries;     // in TOC order; slot i is list line i
    std::vector<StocGroup> stocGroups;  // empty when the header declares no STOC group
    int stocGroupsCompleted = 0;        // fewer than the header's count when the STOC ends first
    // Only when asked for: each entry's copies after the first, as data offsets like
    // entryDataOffset (not limited to 32 bits); those lying past the tables are missing.
    std::vector<std::vector<std::int64_t>> laterCopies;
    // Only when asked for: each TOC entry's bytes up to its copy offsets, as stored.
    std::vector<std::string> tocHeads;
};

// Reads the header and computes the chunk positions (signed 32-bit sums).
ArchiveLayout readArchiveLayout(const std::filesystem::path& archive);

// What the error box says when opening the archive failed: `description`, or, for a file that
// does not begin with the bytes "MPAK", that it is not an MPAK archive. The magic is checked
// only then: an archive that opens is never refused for it.
std::string openFailureDescription(const std::filesystem::path& archive, const std::string& description);

// Called after each TOC entry with the number read so far.
using EntryProgress = std::function<void(int entriesRead)>;

// Reads the TOC and, when the header declares STOC groups, the groups that lie inside the STOC
// chunk. Fails with a description of what is wrong and where for damaged tables: chunk sizes
// below their tags, more entries than the table's 10001 slots, TOC records past the end of the
// tables or the file, overflowing widths. Entry data is not checked: extraction skips what
// cannot be read. `withEntryRecords` adds laterCopies and tocHeads.
ArchiveTables readArchiveTables(const std::filesystem::path& archive, const ArchiveLayout& layout,
                                const EntryProgress& onEntry = {}, bool withEntryRecords = false);
