// The patterns that pick entries by their path, for the command line's extraction and the
// window's selection.
#pragma once

#include <string_view>

// Whether the entry path matches the pattern: "*" matches any run of characters, separators
// included, "?" one character (one UTF-8 sequence); ASCII letters match in either case, and
// "/" and "\" are the same separator.
bool entryPathMatches(std::string_view pattern, std::string_view entryPath);

// Whether any pattern of a ";"-separated list matches the entry path ("textures/*.dds;*.fsb").
// Blanks around a pattern are ignored; an empty pattern matches nothing.
bool entryPathMatchesAny(std::string_view patternList, std::string_view entryPath);
