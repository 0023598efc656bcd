// What differs between the systems in the shell's rules, each with a POSIX and a Windows body
// (host_conventions_posix.cpp, host_conventions_windows.cpp).
#pragma once

#include <filesystem>
#include <string>

// A program's file name: "zlibc" here, "zlibc.exe" on Windows.
std::string programFileName(const char* name);
// Whether the regular file `path` may be started: executable here, any file on Windows.
bool mayRun(const std::filesystem::path& path);
// The user's local data folder: $XDG_DATA_HOME (only when absolute) or ~/.local/share here,
// %LOCALAPPDATA% on Windows; empty when the system names none.
std::filesystem::path localDataFolder();
// Whether the file system takes names that differ in ASCII letter case for one name.
bool namesIgnoreLetterCase();
