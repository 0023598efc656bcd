// PackIt: turns the staged files in Temp and the library .stoc into a new archive in
// NewMPAKs, named after the pack folder's caption.
#pragma once

#include <cstdint>

struct Form;

inline constexpr std::int16_t kPackDone = 0;
inline constexpr std::int16_t kPackAborted = 999;

// Returns kPackDone when the archive was written, kPackAborted when the pack was abandoned
// (its failure has been shown); Temp is emptied either way. Leaves filesPackedCount and
// stocEntryCount for the summary.
std::int16_t PackIt(Form& form);
