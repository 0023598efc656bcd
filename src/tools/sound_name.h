// The one rule for using a sound's stored name as a file name directly inside the sound
// folder. Both "Convert .FSB" and our fsbext program follow it.
#pragma once

#include <string_view>

#include "common/paths.h"

// A plain name (isPlainName) with no ":" on any host either, so that a bank gives the same
// file names wherever it is converted.
inline bool isPlainSoundFileName(std::string_view name) {
    return isPlainName(name) && name.find(':') == std::string_view::npos;
}
