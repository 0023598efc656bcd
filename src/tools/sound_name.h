// The one rule for using a sound's stored name as a file name directly inside the sound
// folder. Both "Convert .FSB" and our fsbext program follow it.
#pragma once

#include <string_view>

// True when `name` names a file directly inside a folder: not empty, not "." or "..", and
// free of path separators and drive colons.
inline bool isPlainSoundFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string_view::npos;
}
