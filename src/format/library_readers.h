// The packer's readers of the library files: the .toc lines that decide how each file is
// stored, and the .stoc groups that become the new archive's STOC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry line of a library .toc: "01 2 textures\sky.tga".
struct TocLibraryLine {
    std::string compressedField, copiesField, path;
    int lineNumber;  // from 1
};

// The .toc text split at every CR LF; each line trimmed of spaces; empty and "--" lines
// skipped. A line is cut at its first two blanks, so field 3 is the rest of the line and a
// path may hold blanks. A line with fewer than three fields is skipped like a comment.
std::vector<TocLibraryLine> readTocLibrary(std::string_view text);
// The same for the text's lines, as readLibraryLines gives them.
std::vector<TocLibraryLine> readTocLibrary(const std::vector<std::string>& lines);

// One "[n]" block of a library .stoc. `names` may hold fewer than `declaredSize` names when
// the text ends first.
struct StocLibraryGroup {
    std::int32_t declaredSize;
    std::vector<std::string> names;
    int headerLineNumber;  // from 1
};

// A header that is not a non-negative number that fits 32 bits.
struct StocLibraryError {
    std::string headerText;  // the trimmed header line with every "[" and "]" removed
    int lineNumber;          // from 1
};

struct StocLibrary {
    std::vector<StocLibraryGroup> groups;  // the groups before the error, if any
    std::optional<StocLibraryError> error;
};

// Parses the .stoc text: trailing CR LF pairs removed, then split at CR LF; lines trimmed of
// spaces. Outside a group only lines beginning with "[" count (headers); inside a group every
// non-empty line is a name, "--" and "[" lines included, and empty lines are not counted.
// The line after a group's last name is passed over unseen. A header's value is rounded
// half-to-even to a signed 32-bit integer.
StocLibrary parseStocLibrary(std::string_view text);
// The same for the text's lines, as readLibraryLines gives them: empty lines at the end change
// nothing.
StocLibrary parseStocLibrary(const std::vector<std::string>& lines);

// The packer's message for a header error.
std::string stocHeaderErrorText(const StocLibraryError& error);
