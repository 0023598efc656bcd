// Inflation of a whole entry at once by libdeflate, where its sizes allow: about twice as fast
// as zlib's piece by piece. It only ever answers for a stream that inflates to exactly the size
// expected; every other case goes to the piecewise inflation (entry_stream.h), which says how
// the stream ends, so that both ways give the same answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/files.h"
#include "format/entry_stream.h"

// Entries larger than this, stored or inflated, are inflated piece by piece: memory holds one
// entry at a time at most this large.
inline constexpr std::uint64_t kWholeInflateLimit = 64ull << 20;

// The inflated bytes of the raw DEFLATE stream of `size` stored bytes at `offset` when they are
// exactly `expected` bytes; nothing when they are not, when a size passes the limit, or when the
// range is not inside the file.
std::optional<std::string> inflateWhole(RangeReader& archive, std::uint64_t offset, std::uint64_t size,
                                        std::int64_t expected);

// Whether the raw DEFLATE stream `stored` inflates to exactly `expected` bytes; false too when a
// size passes the limit.
bool inflatesWholeTo(std::string_view stored, std::int64_t expected);

// The bytes' CRC-32 (as zlib and zip reckon it).
std::uint32_t crc32Of(std::string_view bytes);

// What inflatePieces gives for the stream (its end and its inflated size), without the pieces.
InflateResult inflatedSizeOf(RangeReader& archive, std::uint64_t offset, std::uint64_t size, std::int64_t expected);
