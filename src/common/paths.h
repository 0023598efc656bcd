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

// A ":" names a drive or a stream on Windows; elsewhere a host file name may hold one.
// Defined with the host's file functions (files_<platform>.cpp).
extern const std::string_view kDriveCharacters;

// The one rule for a relative path that comes from outside (an entry's path, the path part of a
// Temp name): "\" and "/" separate segments, and inner empty and "." segments are dropped.
// Nothing, on every platform alike, when the path is rooted (its first segment is empty), when
// a segment is "..", when a segment holds ":" (a drive or a Windows stream) or a zero byte, or
// when no segment is left.
std::optional<std::vector<std::string_view>> archivePathSegments(std::string_view archivePath);

// One file name of the host, as the archive's own file name or the folder chosen for packing:
// not empty, not "." or "..", and no "/", "\", zero byte or (on Windows) ":".
bool isPlainName(std::string_view name);

// The host path of `archivePath` below `root` by the rule of archivePathSegments, or nothing
// when the rule refuses it or an existing symbolic link or junction lies on the way. With
// `checked`, a folder on the way found there was checked before and is not looked at again; the
// folders checked now are added.
using CheckedFolders = std::unordered_set<fs::path::string_type>;
std::optional<fs::path> safeJoin(const fs::path& root, std::string_view archivePath, CheckedFolders* checked = nullptr);

// A path relative to `root` in archive form ("\" separators, no leading "\").
std::string archivePathOf(const fs::path& root, const fs::path& path);
// The same for a file to pack, or nothing when a name on the way would not come back as itself
// from the archive: one holding "\" (a separator there) or ":" (refused by extraction), which
// file systems outside Windows allow.
std::optional<std::string> entryPathOf(const fs::path& root, const fs::path& path);
