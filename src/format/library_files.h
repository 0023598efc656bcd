// The library files of an archive in the Library folder: <archive name>.toc and .stoc.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Library\<archive name><extension> (".toc" or ".stoc"). Fails when the name would lead out
// of the Library folder.
std::filesystem::path libraryFilePath(const std::filesystem::path& libraryPath, const std::string& archiveName,
                                      const char* extension);

// Writes each library file that does not exist yet, .toc first, with its trailing CR LF pairs
// removed; the .stoc only when its text is not empty. Existing files are left as the user
// edited them. Each file is written under a temporary name and renamed into place.
void writeLibraryFiles(const std::filesystem::path& libraryPath, const std::string& archiveName,
                       std::string_view tocText, std::string_view stocText);
