// The boundary between archive-side paths ("\" separators, as in the archive, the library
// files and the log) and host paths, and the flattened names of files in Temp.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

// A relative archive path as one file name: "\" becomes "+"; a "+" or "%" of a name is
// written "%2B" or "%25" so that unflattenName gives the path back unchanged.
std::string flattenPath(std::string_view archivePath);
std::string unflattenName(std::string_view flatName);

// The host path of `archivePath` ("\" or "/" separated) below `root`, or nothing when the
// path would lead out of it: an empty, "." or ".." segment, a leading separator, a drive or
// any ":" in a segment, or an existing symbolic link on the way.
std::optional<fs::path> safeJoin(const fs::path& root, std::string_view archivePath);

// A path relative to `root` in archive form ("\" separators, no leading "\").
std::string archivePathOf(const fs::path& root, const fs::path& path);
