// The bank file as fsbext meets it on disk.
#pragma once

#include <filesystem>
#include <string>

// The bank's bytes. Only a regular file is read: a FIFO or a device named as the bank is
// refused at once (a Failure) instead of being waited on or read without end.
std::string readBankFile(const std::filesystem::path& bank);

// True when `target` names an existing file that is the bank itself (the same file reached
// by any name), which a sound must never replace.
bool isTheBank(const std::filesystem::path& target, const std::filesystem::path& bank);
