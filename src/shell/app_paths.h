// The five work folders, and the helper programs beside the program.
#pragma once

#include <array>
#include <filesystem>

struct Form;

// ExtractedFiles, Temp, NewMPAKs, Library and Sounds in `folder`, in this order.
std::array<std::filesystem::path, 5> workFolderPaths(const std::filesystem::path& folder);

// Sets extractedFilesPath, tempPath, newMpaksPath, libraryPath and soundsPath, in this order.
void setWorkFolderPaths(Form& form);
// Creates each work folder that is missing (only the last level); failures are ignored.
void createWorkFolders(const Form& form);
// The path of a helper program in the program's folder, with the platform's suffix.
std::filesystem::path helperProgramPath(const std::filesystem::path& programFolder, const char* name);
