// The zlibc command line of a job: -d inflates a zlib-wrapped file, -k writes a complete zlib
// stream. The program path is quoted (quoteProgramPath) and so are the two file paths, escaped
// as quoteArgument escapes them, so that every name reaches zlibc unchanged.
#pragma once

#include <filesystem>
#include <string>

#include "shell/helper_job.h"

std::string zlibcCommand(const std::filesystem::path& program, const HelperJob& job);
