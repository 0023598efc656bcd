// "Convert .FSB": the bank's sounds are written into the Sounds folder by our fsbext program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "shell/outcome.h"

struct Form;

// The one place the fsbext command line is built: program -d "<Sounds>" -a "<bank>".
std::string fsbextCommand(const std::filesystem::path& fsbext, const std::filesystem::path& soundsFolder,
                          const std::filesystem::path& bank);
// The text of the box that reports a failing fsbext run.
std::string fsbConversionErrorText(std::int32_t exitCode);
// The name fsbext gives the bank's first sound: the 30 name bytes at offset 26, up to the
// first zero byte. Fails when the bank is too short or the name has no zero byte.
std::string firstSoundName(const std::filesystem::path& bank);

// Converts the bank; reports its own failures as "ProcessFSB error.".
Outcome ProcessFSB(Form& form, const std::filesystem::path& bank);
