// The boundary between archive-side paths ("\" separators, as in the archive, the library
// files and the log) and host paths, and the flattened names of files in Temp.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace fs = std::filesystem;

// A relative archive path as one file name: "\" becomes "+"; a "+" or "%" of a name is
// written "%2B" or "%25" so that unflattenName gives the path back unchanged.
std::string flattenPath(std::string_view archivePath);
std::string unflattenName(std::string_view flatName);

// A ":" names a drive or a stream on Windows; elsewhere it is an ordinary character.
#ifdef _WIN32
inline constexpr std::string_view kDriveCharacters = ":";
#else
inline constexpr std::string_view kDriveCharacters = "";
#endif

// The host path of `archivePath` ("\" or "/" separated) below `root`, or nothing when the
// path would lead out of it: a ".." segment, a drive (see kDriveCharacters), a zero byte, an
// existing symbolic link or junction on the way, or no name at all. Empty and "." segments (a leading or
// doubled separator) are passed over. With `checked`, a folder on the way found there was
// checked before and is not looked at again; the folders checked now are added.
using CheckedFolders = std::unordered_set<fs::path::string_type>;
std::optional<fs::path> safeJoin(const fs::path& root, std::string_view archivePath, CheckedFolders* checked = nullptr);

// A path relative to `root` in archive form ("\" separators, no leading "\").
std::string archivePathOf(const fs::path& root, const fs::path& path);
