// The MPAK writer: turns the files that the compression pass staged, and the library .stoc
// groups, into a new archive. It builds the chunk bodies in the work files TOC.bin, STOC.bin
// and RAWD.bin, then writes the header and the chunks under a temporary name that replaces the
// output only when complete, on disk and read back whole (saved_archive_check.h). It knows nothing of the window: what it reports goes through
// MpakWriterProgress.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "format/library_readers.h"

struct MpakWriterJob {
    std::vector<std::filesystem::path> stagedFiles;  // in packing order
    std::vector<StocLibraryGroup> libraryGroups;     // written first, in order
    bool autoAddNewFiles = true;                     // a STOC group for each new file
    std::filesystem::path workFolder;                // where the three work files are made
    std::filesystem::path output;
};

struct MpakWriterProgress {
    // Before each staged file: its number from 1, the number of staged files, its name.
    std::function<void(int number, std::size_t total, const std::string& stagedName)> packing;
    // After each step that may take a while (a deletion, a packed file, a chunk copied).
    std::function<void()> pause;
    // A failure's description, told while the work files written so far are still there; they
    // are removed after it.
    std::function<void(const std::string& description)> failed;
};

// What was reached, kept even when writing fails: the summary reports it.
struct MpakWriterCounts {
    std::int16_t filesPacked = 0;
    std::int16_t stocGroups = 0;  // every group written, a group of one too
};

// Writes the archive. A failure is a Failure with what went wrong (told to `progress.failed`
// first); the work files are removed either way and an earlier output stays as it was.
void writeMpak(const MpakWriterJob& job, const MpakWriterProgress& progress, MpakWriterCounts& counts);
