// Where the five work folders live: beside the program when it may write there (a portable
// copy, the build's application folder), otherwise in the user's own data folder (a copy
// installed into a read-only system folder). Both programs decide it once, at start-up, by
// this one rule; helper programs and help texts stay beside the program either way.
#pragma once

#include <filesystem>
#include <memory>

#include "shell/work_folder_lock.h"

// "VantrelRipper" in the user's local data folder: $XDG_DATA_HOME (only when absolute) or
// ~/.local/share here, %LOCALAPPDATA% on Windows; the folder Qt names AppLocalDataLocation for
// an application called VantrelRipper. Empty when the system names no such folder.
std::filesystem::path perUserWorkFolder();

// Creates `folder` and the five work folders in it, and creates and removes a file of a fresh
// name of its own in each (never following a link planted on some name); true when all of that
// worked.
bool canHoldWorkFolders(const std::filesystem::path& folder);

// A work folder chosen and locked. Each candidate is locked before anything else is made or written
// in it, so that a start that finds another copy using it touches nothing there.
struct ClaimedWorkFolder {
    std::filesystem::path folder;
    std::unique_ptr<WorkFolderLock> lock;  // HeldByAnother: another copy uses `folder`
};

// Whether the program folder holds the mark of a copy installed by a package.
bool isInstalledCopy(const std::filesystem::path& programFolder);

// The program folder when it can hold the work folders, else `perUser` when that can, else the
// program folder after all: each command then reports what fails, and when not even its lock can
// be had, both front ends refuse to start. An installed copy always takes `perUser`. A candidate that another copy holds is taken as it is.
ClaimedWorkFolder claimWorkFolder(const std::filesystem::path& programFolder,
                                  const std::filesystem::path& perUser = perUserWorkFolder());
