// The pack folder as the compression pass walks it. Links to folders (symbolic links,
// junctions) are never followed; a link to a file counts as that file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct FolderListing {
    std::vector<std::filesystem::path> files;          // everything that is not a folder
    std::vector<std::filesystem::path> folders;        // real sub-folders
    std::vector<std::filesystem::path> linkedFolders;  // symbolic links (or junctions) to folders
};

// One folder's entries, each list in byte order of the names. Fails with a Failure naming the
// folder when it cannot be listed.
FolderListing listFolder(const std::filesystem::path& folder);

// One step of the walk: a file to stage, a link to a folder that is not followed, a folder that
// could not be listed (which ends the walk), the end of a sub-folder of levels 1 to 14 (its
// sub-folders included; the pack folder is level 0), where the walk lets the window run, or an
// unfinished work file of a killed run (isLeftoverName), which is never packed.
struct WalkStep {
    enum Kind { File, LinkNotFollowed, Unlistable, FolderDone, Leftover } kind;
    std::filesystem::path path;
    std::string reason;  // why an Unlistable folder could not be listed
};

// The pack folder and every folder below it, each folder's files before its sub-folders, with
// no depth limit. The folders are listed on every core; `afterListing` is called on the
// calling thread after each folder it listed.
std::vector<WalkStep> walkPackFolder(const std::filesystem::path& packFolder,
                                     const std::function<void()>& afterListing = {});
