// The window-level state that the commands share: folders, the log, the open archive and
// the counters of one command. Commands are free functions over one Form.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "format/entry_slot.h"
#include "shell/window.h"

namespace fs = std::filesystem;

inline const std::string kAppTitle = "Vantrel Ripper";

struct Form {
    Form(Window& w, fs::path applicationFolder);

    Window& window;

    // Folders, set at start-up. appFolder holds the five work folders; programFolder holds the
    // helper programs and the help texts. Both are the program's own folder when it may write
    // there; otherwise the work folders are in the user's data folder (work_folder_choice.h),
    // or in the folder the command line's --work names.
    fs::path appFolder;
    fs::path programFolder;
    fs::path extractedFilesPath, tempPath, newMpaksPath, libraryPath, soundsPath;

    std::string zlibHeader = std::string("\x78\x9C", 2);
    std::string zlibTrailer = std::string(4, '\0');
    std::string logText;
    std::int32_t toolExitCode = 0;
    int helperRunsAtOnce = 1;  // zlibc runs side by side in the unzip and compression passes

    // The open archive
    fs::path archivePath;
    std::int32_t tocSize = 0, stocSize = 0;
    std::int16_t tocEntryCount = 0, stocEntryCount = 0;
    std::int32_t tocStart = 0, stocStart = 0, rawdStart = 0;
    std::int32_t entryCount = 0;
    std::vector<EntrySlot> entries;
    std::int32_t maxItemLength = 0;  // never reset: the list's extent never shrinks

    // Counters of one command
    std::int32_t filesExtractedCount = 0, filesUnzippedCount = 0;
    std::int32_t filesZippedCount = 0, walkFileCount = 0;
    std::int16_t filesPackedCount = 0;
    // Entries an extraction or unpack refused, skipped or failed, each with its log line.
    std::int32_t entriesLeftOutCount = 0;
    // Where the last command put its results (showResultsFolder); the command line names it.
    fs::path resultsFolder;
};
