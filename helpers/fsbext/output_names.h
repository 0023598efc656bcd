// The file name each sound of a bank is written under.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "fsb3_reader.h"

// A sound's stored name when it is a plain file name not taken by an earlier sound of the
// bank (letters compared without regard to case, as on Windows) and not one that
// `landsOnBank` says would replace the bank itself. Otherwise a safe name made from the
// bank's name and the sound's index counting from 0: "<bank>_<index>.wav" for a WAV,
// "<bank>_<index>.raw" for other bytes.
std::vector<std::string> soundFileNames(const std::vector<Fsb3Sample>& samples, std::string_view bankName,
                                        const std::function<bool(const std::string&)>& landsOnBank);
