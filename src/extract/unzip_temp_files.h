// The decompression pass: each zlib-wrapped ".gz" file that extraction parked in Temp becomes
// its finished file below ExtractedFiles through "zlibc -d", and is then deleted.
#pragma once

#include <filesystem>
#include <vector>

struct Form;
class InflateAhead;

// Appends one "Unzipping k\n: name" line per ".gz" file to logText (plus a failure line when
// zlibc fails); filesUnzippedCount is the total shown and the progress bar's divisor.
void UnzipTempFiles(Form& form);
// The same, taking the results of the runs that `ahead` started while files were parked, for
// the files in Temp and those in `parked`. A parked file that is gone at its turn gets
// "Unzip failed (gone from Temp): name" and leaves the counts of files unzipped and extracted.
void UnzipTempFiles(Form& form, InflateAhead& ahead, const std::vector<std::filesystem::path>& parked = {});
