// One folder's entries as the pack walk sees them, each list in byte order of the names.
// Links to folders (symbolic links, junctions) are never followed; a link to a file counts as
// that file.
#pragma once

#include <filesystem>
#include <vector>

struct FolderListing {
    std::vector<std::filesystem::path> files;          // everything that is not a folder
    std::vector<std::filesystem::path> folders;        // real sub-folders
    std::vector<std::filesystem::path> linkedFolders;  // symbolic links (or junctions) to folders
};

// Fails with a Failure naming the folder when it cannot be listed.
FolderListing listFolder(const std::filesystem::path& folder);
