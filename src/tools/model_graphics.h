// "List Model Graphics": the texture names a .mmod model refers to, listed in the log.
#pragma once

#include <filesystem>
#include <string>

#include "shell/outcome.h"

struct Form;

// Lists the texture names of the model. Reports no error: a step that fails is skipped, and
// a model that cannot be read lists no names. Returns why it could not be read (the command
// line fails then), or nothing.
std::string ScanModelFile(Form& form, const std::filesystem::path& modelPath);
