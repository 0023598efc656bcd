// An entry path or STOC name as the game looks it up: "\" separated, ASCII letters in lower case.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

// One copy of the name, changed in place: it is made for every entry and file of an update.
inline std::string lookupKey(std::string_view name) {
    std::string key = replaceAll(name, '/', '\\');
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}
