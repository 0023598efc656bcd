// The library .toc lines as the compression pass looks them up: by path, ignoring ASCII case,
// the first line of a path winning, in constant time per file.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "format/library_readers.h"

class TocLibraryIndex {
public:
    TocLibraryIndex() = default;
    // Fails with "Library .toc line N: copies field '<text>' is not a whole number from 0 to
    // 8191." for the first line whose copies the archive could not hold.
    explicit TocLibraryIndex(std::vector<TocLibraryLine> lines);

    // The first line whose path equals `relativePath` ("\" separators) ignoring ASCII case;
    // nullptr when none does.
    const TocLibraryLine* find(std::string_view relativePath) const;

private:
    std::vector<TocLibraryLine> lines_;
    std::unordered_map<std::string, std::size_t> firstLineOfPath_;  // lower-case path -> index
};
