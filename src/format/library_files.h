// The library files of an archive in the Library folder: <archive name>.toc and .stoc.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Library\<archive name><extension> (".toc" or ".stoc"). Fails when the name would lead out
// of the Library folder.
std::filesystem::path libraryFilePath(const std::filesystem::path& libraryPath, const std::string& archiveName,
                                      const char* extension);

// Writes each library file that does not exist yet, .toc first, with its trailing CR LF pairs
// removed; the .stoc only when its text is not empty. Existing files are left as the user
// edited them. Each file is written under a temporary name and renamed into place.
void writeLibraryFiles(const std::filesystem::path& libraryPath, const std::string& archiveName,
                       std::string_view tocText, std::string_view stocText);

// A library file's lines, split at every CR LF as splitCrLf splits a text, read a piece at a
// time. A line longer than kMaxLibraryLineLength is refused as soon as it passes the limit: a
// line holds at most one entry path or name of the archive format (kMaxNameLength) and two
// short fields, so nothing longer is worth holding.
inline constexpr std::size_t kMaxLibraryLineLength = 1024;
std::vector<std::string> readLibraryLines(const std::filesystem::path& file);
