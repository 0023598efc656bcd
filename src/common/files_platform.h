// The system calls behind files.cpp, each with a POSIX and a Windows body (files_posix.cpp,
// files_windows.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Opens for reading in binary mode; nullptr with errno set.
std::FILE* openFileForReading(const std::filesystem::path& path);
// Creates `path` for writing only if nothing has that name; nullptr with errno set otherwise.
std::FILE* createExclusively(const std::filesystem::path& path);
// Why the last write failed, in the words of strerror.
std::string writeFailure();
long processId();
// Moves to `offset` from the file's start, past 2 GiB too; 0 on success.
int seekTo(std::FILE* file, std::uint64_t offset);
// Copies up to `length` bytes of `from` at `offset` onto the end of `to` (flushed) inside the
// system, without this program's memory; how many it copied, 0 where the system has no such
// copy. `from`'s own position is left as it was.
std::uint64_t copyBySystem(std::FILE* from, std::uint64_t offset, std::uint64_t length, std::FILE* to);
// The file that `path` names now (not a link), held open so that replacing its name does not
// free it; -1 where nothing is held. freeAside(held) lets go on a thread of its own, so that a
// large file replaced by a rename is freed beside the work rather than by the rename. Windows
// cannot rename over an open file and holds nothing.
int holdForReplacing(const std::filesystem::path& path);
void freeAside(int held);
