// The two conversions of zlibc, on whole buffers, with libdeflate.
#pragma once

#include "whole_files.h"

// A zlib-wrapped stream: 2 header bytes (not read), raw DEFLATE data, then a 4-byte trailer
// whose value is never checked (ours is zero) but which must be there; bytes after it are
// ignored.
Bytes inflateZlibWrapped(const Bytes& input);
// A complete zlib stream: header, raw DEFLATE data, Adler-32.
Bytes deflateToZlib(const Bytes& input);

// libdeflate's level for -k: its default, a good balance of speed and size.
inline constexpr int kCompressionLevel = 6;
