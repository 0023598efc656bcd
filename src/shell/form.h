// The window-level state that the commands share: folders, the log, the open archive and
// the counters of one extraction. Commands are free functions over one Form.
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
    // or in the folder the command line's --work names. Written by the front ends and
    // setWorkFolderPaths; read by every command.
    fs::path appFolder;
    fs::path programFolder;
    fs::path extractedFilesPath, tempPath, newMpaksPath, libraryPath, soundsPath;

    // The log view's text: each command writes its lines (appendLogLine) and shows it (ShowLog).
    std::string logText;
    // zlibc runs side by side in the unzip and compression passes: set by the front ends (the
    // command line's --jobs), read by MassExtract and PackMPAK.
    int helperRunsAtOnce = 1;

    // The open archive: written by ProcessLibrary; read by MassExtract, the selection by
    // pattern and the command line's patterns.
    fs::path archivePath;
    std::int32_t entryCount = 0;
    std::vector<EntrySlot> entries;
    // The open archive's file name, shown in Label5; empty = none open. Written through
    // setArchiveName by SelectMPAKfile, a failed ProcessLibrary and the side tools' reset; read
    // by ProcessLibrary (its library files), MassExtract and OpenExtractorFolder.
    std::string archiveName;
    std::int32_t maxItemLength = 0;  // ProcessLibrary's alone; never reset: the list's extent never shrinks

    // The pack folder's caption, shown in Label13: written through setPackFolderName by
    // SelectMPAKFolder and a dropped folder; read by PackMPAK and PackIt.
    std::string packFolderName;

    // Counters of one extraction: written by MassExtract and its unzip pass, read by its summary.
    std::int32_t filesExtractedCount = 0, filesUnzippedCount = 0;
    // Entries an extraction or unpack refused, skipped or failed, each with its log line
    // (appendLeftOutLine); reset by MassExtract and DecompressMPKG, read for their outcome.
    std::int32_t entriesLeftOutCount = 0;
    // Where the last command put its results (showResultsFolder); the command line names it.
    fs::path resultsFolder;
};

// Each keeps the name in the form and shows it in its label.
void setArchiveName(Form& form, const std::string& name);
void setPackFolderName(Form& form, const std::string& name);
