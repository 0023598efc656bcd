// Runs one command of the command line and gives its exit code.
#pragma once

#include <filesystem>

#include "cli/cli_arguments.h"

// `programFolder` holds the helper programs and the help texts; the work folder is the
// request's, or the program folder.
int runCliCommand(const CliRequest& request, const std::filesystem::path& programFolder);
