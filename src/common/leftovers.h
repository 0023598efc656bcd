// Our own unfinished work files: ".vr-<process>-<n>.tmp" (a file being replaced whole),
// ".zlibc-<n>.tmp" (zlibc's output before its rename) and ".inflated-<n>" (an unzip result
// waiting in Temp). Only a run that was killed leaves them behind, since the one running copy
// of a work folder removes its own.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

bool isLeftoverName(std::string_view fileName);

// Removes such files in `folder`, and in the folders below it when `recursive` (never through a
// link); errors are ignored. Gives the number removed.
int removeLeftovers(const std::filesystem::path& folder, bool recursive);

// "Removed N unfinished work files left by an interrupted run."
std::string leftoversRemovedLine(int count);
