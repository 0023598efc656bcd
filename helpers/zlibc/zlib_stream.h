// The two conversions of zlibc, on whole buffers, with libdeflate.
#pragma once

#include "whole_files.h"

// A zlib-wrapped stream: 2 header bytes (not read), raw DEFLATE data, then a 4-byte trailer
// whose value is never checked (ours is zero) but which must be there.
Bytes inflateZlibWrapped(const Bytes& input);
// A complete zlib stream: header, raw DEFLATE data, Adler-32.
Bytes deflateToZlib(const Bytes& input);

// libdeflate's level for -k: its default, about twice zlib's speed at a similar size.
inline constexpr int kCompressionLevel = 6;
