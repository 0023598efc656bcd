// An entry's data a piece at a time, stored or inflated: memory holds one piece, whatever
// sizes the TOC claims and whatever length a stream inflates to.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/files.h"

// Takes the next piece; false stops the reading.
using PieceSink = std::function<bool(std::string_view piece)>;

// Gives the stored bytes at `offset` (the entry's own or one of its copies') to `take`. A range
// outside the file is a Failure.
void readStoredPieces(RangeReader& archive, std::uint64_t offset, std::uint64_t size, const PieceSink& take);

// The content of `size` stored bytes at `offset`, read as it is asked for: the bytes as they
// are, or, when `compressed`, what their raw DEFLATE stream inflates to (bytes stored after the
// stream's end are not read). A range outside the file is a Failure.
class EntryContent {
public:
    EntryContent(const std::filesystem::path& archive, std::uint64_t offset, std::uint64_t size, bool compressed);
    ~EntryContent();
    EntryContent(const EntryContent&) = delete;
    EntryContent& operator=(const EntryContent&) = delete;

    // The next piece, valid until the next call; empty at the end.
    std::string_view next();
    // The stream is not valid raw DEFLATE or is cut short: it ended early.
    bool damaged() const { return damaged_; }

private:
    std::string_view nextStored();
    RangeReader archive_;
    std::uint64_t offset_, left_;
    bool compressed_, ended_ = false, damaged_ = false;
    std::unique_ptr<struct z_stream_s> stream_;  // zlib's state, when compressed
    std::string in_, out_;
};

enum class InflateEnd {
    Complete,  // the stream ended
    Stopped,   // `take` returned false
    Damaged,   // not a valid raw DEFLATE stream, or cut short
};
struct InflateResult {
    InflateEnd end;
    std::uint64_t inflatedSize;  // the bytes given to `take`
};

// Inflates the raw DEFLATE stream of `size` stored bytes at `offset`, giving the inflated bytes
// to `take`.
InflateResult inflatePieces(const std::filesystem::path& archive, std::uint64_t offset, std::uint64_t size,
                            const PieceSink& take);
