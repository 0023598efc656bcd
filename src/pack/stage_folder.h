// The compression pass: stages every file of the pack folder into Temp, compressed by
// "zlibc -k" or copied, under a staged name that tells the writer how to pack it. Up to
// form.helperRunsAtOnce zlibc runs go side by side; the log is that of one run at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pack/folder_listing.h"

struct Form;
class TocLibraryIndex;

// The progress bar's share for staging; the writer fills the rest.
inline constexpr float kStagingShare = 0.9f;

// What the whole pass stages from: the folder being packed, the library .toc and the option
// "Force compression of all files".
struct StagingJob {
    std::filesystem::path packFolder;
    const TocLibraryIndex& library;
    bool compressAllFiles = false;
};

// What the pass did: whether every file was staged, the files zlibc compressed, and the log
// line of the file or folder that could not be staged.
struct StagingResult {
    bool staged = true;
    std::int32_t filesZipped = 0;
    std::string failure;
};

// Stages the walk's files in its order. Stops at the first file or folder that could not be
// staged: "Staging failed: <relative path> (<reason>)" has been logged and is the failure, and
// nothing after it was staged (zlibc runs started ahead are waited for; Temp is the caller's to
// empty).
StagingResult StageFolder(Form& form, const std::vector<WalkStep>& walk, const StagingJob& job);
