// "List Model Graphics": the texture names a .mmod model refers to, listed in the log.
#pragma once

#include <filesystem>

struct Form;

// Lists the texture names of the model. Reports no error: a step that fails is skipped.
void ScanModelFile(Form& form, const std::filesystem::path& modelPath);
