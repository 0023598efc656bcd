// An entry path or STOC name as the game looks it up: "\" separated, ASCII letters in lower case.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

inline std::string lookupKey(std::string_view name) { return asciiLower(replaceAll(name, '/', '\\')); }
