// An entry's data a piece at a time, stored or inflated: memory holds one piece, whatever
// sizes the TOC claims and whatever length a stream inflates to.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "common/files.h"
#include "format/entry_slot.h"

// Takes the next piece; false stops the reading.
using PieceSink = std::function<bool(std::string_view piece)>;

// Gives the stored bytes at `offset` (the entry's own or one of its copies') to `take`. A range
// outside the file is a Failure.
void readStoredPieces(RangeReader& archive, std::uint64_t offset, std::uint64_t size, const PieceSink& take);

enum class InflateEnd {
    Complete,  // the stream ended (bytes stored after its end are not read)
    Stopped,   // `take` returned false
    Damaged,   // not a valid raw DEFLATE stream, or cut short
};
struct InflateResult {
    InflateEnd end;
    std::uint64_t inflatedSize;  // the bytes given to `take`
};

// Inflates the raw DEFLATE stream of `size` stored bytes at `offset`, giving the inflated bytes
// to `take`.
InflateResult inflatePieces(RangeReader& archive, std::uint64_t offset, std::uint64_t size, const PieceSink& take);
