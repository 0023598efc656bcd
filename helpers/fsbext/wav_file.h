// Sound files as fsbext writes them: 8- and 16-bit PCM samples as WAV files, every other
// sample as its bytes unchanged.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/files.h"
#include "fsb3_reader.h"

// True for an 8- or 16-bit PCM sample (no compressed format flag) whose rate and channel
// count fit a WAV header.
bool writtenAsWav(const Fsb3Sample& sample);

// Gives `length` bytes of the sample's data from `offset` (counted from the data's start).
using SampleData = std::function<std::string(std::uint64_t offset, std::size_t length)>;

// Writes the file of the sample to `out`, its data taken a piece at a time: memory holds one
// piece, however long the sample.
void writeSoundFile(const Fsb3Sample& sample, const SampleData& data, WorkFile& out);
