// Sound files as fsbext writes them: 8- and 16-bit PCM samples as WAV files, every other
// sample as its bytes unchanged.
#pragma once

#include <string>
#include <string_view>

#include "fsb3_reader.h"

// True for an 8- or 16-bit PCM sample (no compressed format flag) whose rate and channel
// count fit a WAV header.
bool writtenAsWav(const Fsb3Sample& sample);

// The file written for the sample, given its data bytes.
std::string soundFileBytes(const Fsb3Sample& sample, std::string_view data);
