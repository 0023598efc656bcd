// The PATTERNs that pick entries for extraction.
#pragma once

#include <string_view>

// Whether the entry path matches the pattern: "*" matches any run of characters, separators
// included, "?" one character (one UTF-8 sequence); ASCII letters match in either case, and
// "/" and "\" are the same separator.
bool entryPathMatches(std::string_view pattern, std::string_view entryPath);
