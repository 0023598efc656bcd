// PackIt: turns the staged files in Temp and the library .stoc into a new archive in
// NewMPAKs, named after the pack folder's caption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/library_readers.h"
#include "pack/mpak_writer.h"
#include "shell/outcome.h"

struct Form;

// What PackIt did: Done when the archive was written, otherwise the failure its box showed;
// and the counts for the pack's summary.
struct PackItResult {
    Outcome outcome;
    MpakWriterCounts counts;
};

// The groups of Library\<caption>.stoc, read before anything is staged; none when there is no
// such file (with a caution for a folder whose name does not start as the game's own archives
// do). Nothing when the file cannot be read ("PackIt error.") or a group header is not a number:
// that has been shown, `failure` is what it said, and the pack ends.
std::optional<std::vector<StocLibraryGroup>> readLibraryStoc(Form& form, const std::string& caption,
                                                             Outcome& failure);

// Writes the archive, or abandons it with its failure shown; Temp is emptied either way.
PackItResult PackIt(Form& form, std::vector<StocLibraryGroup> libraryGroups);
