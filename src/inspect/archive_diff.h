// "diff A B": what differs between two archives, entry by entry (matched by path, ASCII letter
// case ignored, as the game looks them up) and STOC group by STOC group (matched by the group's
// first name).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct ArchiveDifference {
    std::string path;  // the entry's path, or the STOC group's first name
    std::string line;  // "Only in A: a.txt", "Changed: b.dds (content, copies 1 -> 3)", ...
};

// In A's order, then B's: entries only in A or changed, entries only in B, then STOC groups
// removed or changed, then those added. Content is compared after inflation, a piece at a time;
// a stream that does not inflate differs from everything. Fails with the open's description
// when either archive's tables cannot be read.
std::vector<ArchiveDifference> diffArchives(const std::filesystem::path& a, const std::filesystem::path& b);
