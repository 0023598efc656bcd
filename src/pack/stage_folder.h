// The compression pass: stages every file directly inside one folder into Temp, compressed
// by "zlibc -k" or copied, under a staged name that tells the writer how to pack it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct Form;
class TocLibraryIndex;

// What the whole pass stages from: the folder being packed, the library .toc and the option
// "Force compression of all files".
struct StagingJob {
    std::filesystem::path packFolder;
    const TocLibraryIndex& library;
    bool compressAllFiles = false;
};

// Stages the files directly inside one folder, as the folder walk listed them (in byte order
// of their names). Returns false at the first file that could not be staged: its log line has
// been followed by "Staging failed: <relative path> (<reason>)", and nothing after it was
// staged.
bool StageFolder(Form& form, const std::vector<std::filesystem::path>& files, const StagingJob& job);

// Logs "Staging failed: <relative path> (<reason>)" for a path below the pack folder.
void logStagingFailed(Form& form, const StagingJob& job, const std::filesystem::path& path, const std::string& reason);
