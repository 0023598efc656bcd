// The patterns that pick entries by their path, for the command line's extraction and the
// window's selection.
#pragma once

#include <string_view>
#include <vector>

// Whether the entry path matches the pattern: "*" matches any run of characters, separators
// included, "?" one character (one UTF-8 sequence); ASCII letters match in either case, and
// "/" and "\" are the same separator.
bool entryPathMatches(std::string_view pattern, std::string_view entryPath);

// The patterns of a ";"-separated list ("textures/*.dds;*.fsb"), blanks around each removed,
// empty ones left out.
std::vector<std::string_view> splitPatternList(std::string_view patternList);
