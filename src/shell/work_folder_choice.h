// Where the five work folders live: beside the program when it may write there (a portable
// copy, the build's application folder), otherwise in the user's own data folder (a copy
// installed into a read-only system folder). Both programs decide it once, at start-up, by
// this one rule; helper programs and help texts stay beside the program either way.
#pragma once

#include <filesystem>

// "VantrelRipper" in the user's local data folder: $XDG_DATA_HOME (only when absolute) or
// ~/.local/share here, %LOCALAPPDATA% on Windows; the folder Qt names AppLocalDataLocation for
// an application called VantrelRipper. Empty when the system names no such folder.
std::filesystem::path perUserWorkFolder();

// Creates `folder` and the five work folders in it, and writes and removes a probe file in
// each; true when all of that worked.
bool canHoldWorkFolders(const std::filesystem::path& folder);

// The program folder when it can hold the work folders, else `perUser` when that can, else the
// program folder after all: the window then opens without its folders, as it always has on an
// unwritable folder, and each command reports what fails.
std::filesystem::path chooseWorkFolder(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& perUser = perUserWorkFolder());
