// "Unpack .MPKG": the .mpkg body is rewrapped as the zlib-wrapped work file Temp\mpkg.gz and
// inflated by zlibc into Temp\mpkg.dat.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "shell/outcome.h"

struct Form;

// Unpacks the .mpkg file; reports its own failures as "ProcessMPKG error.".
Outcome ProcessMPKG(Form& form, const std::filesystem::path& mpkg);
