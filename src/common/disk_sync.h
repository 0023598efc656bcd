// Flushing to the disk itself, for the files a power cut must not leave empty: a new archive
// and the library files are either the old file or the whole new one after a crash.
#pragma once

#include <cstdio>
#include <filesystem>

// The file's written bytes reach the disk; false when the system says they did not.
bool syncFileToDisk(std::FILE* file);
// The folder's entries (a rename into it) reach the disk; where a system cannot do that for a
// folder (Windows), nothing happens.
void syncFolderToDisk(const std::filesystem::path& folder);
