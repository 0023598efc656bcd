// Which folders can be packed: the folders in ExtractedFiles, one per archive extracted. A pack
// takes ExtractedFiles\<name> by the folder's name alone, so a folder elsewhere is refused
// rather than packing another folder of its name.
#pragma once

#include <filesystem>
#include <string>

// Whether `folder` (a trailing separator allowed) is a folder in ExtractedFiles, named by any
// spelling or through a link: the very folder that a pack of its name takes.
bool isPackableFolder(const std::filesystem::path& extractedFilesPath, const std::filesystem::path& folder);

// The last name of `folder`, without a trailing separator: the pack folder's caption.
std::string packFolderCaption(const std::filesystem::path& folder);

// Why `folder` cannot be packed, saying where packable folders live.
std::string notPackableText(const std::filesystem::path& extractedFilesPath, const std::filesystem::path& folder);
