// PackIt: turns the staged files in Temp and the library .stoc into a new archive in
// NewMPAKs, named after the pack folder's caption.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/library_readers.h"

struct Form;

inline constexpr std::int16_t kPackDone = 0;
inline constexpr std::int16_t kPackAborted = 999;

// The groups of Library\<caption>.stoc, read before anything is staged; none when there is no
// such file (with a caution for a folder whose name does not start as the game's own archives
// do). Nothing when the file cannot be read ("PackIt error.") or a group header is not a number:
// that has been shown and the pack ends.
std::optional<std::vector<StocLibraryGroup>> readLibraryStoc(Form& form, const std::string& caption);

// Returns kPackDone when the archive was written, kPackAborted when the pack was abandoned
// (its failure has been shown); Temp is emptied either way. Leaves filesPackedCount and
// stocEntryCount for the summary.
std::int16_t PackIt(Form& form, std::vector<StocLibraryGroup> libraryGroups);
