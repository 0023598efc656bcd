// Links on the host's file system. On Windows, mingw's symlink_status sees through symbolic
// links and junctions, so they are found there through their reparse-point attributes.
#pragma once

#include <filesystem>

// Whether `path` itself is a symbolic link or a junction, a name that leads elsewhere; the
// link is not followed. False when nothing has that name.
bool isLinkOrJunction(const std::filesystem::path& path);

// The absolute path of what `path` names, every link and junction on the way resolved, as far
// as it exists (weakly_canonical; on Windows mingw's does not resolve reparse points, so the
// system is asked for the final path of an existing one).
std::filesystem::path resolvedPath(const std::filesystem::path& path);

// Whether anything has the name `path`: a file, a folder, or a link wherever it leads (a
// dangling one included).
bool nameExists(const std::filesystem::path& path);
