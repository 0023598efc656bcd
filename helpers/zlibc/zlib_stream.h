// The two conversions of zlibc, on whole buffers, with libdeflate.
#pragma once

#include "whole_files.h"

#ifdef __cplusplus
extern "C" {
#endif

// A zlib-wrapped stream: 2 header bytes (not read), raw DEFLATE data, then a 4-byte trailer
// whose value is never checked (ours is zero) but which must be there; bytes after it are
// ignored. On success `output` holds the inflated bytes, to be freed by the caller.
bool inflateZlibWrapped(const uint8_t* input, size_t size, Bytes* output, ZlibcFailure* failure);
// A complete zlib stream at libdeflate's level 6: header, raw DEFLATE data, Adler-32.
bool deflateToZlib(const uint8_t* input, size_t size, Bytes* output, ZlibcFailure* failure);

#ifdef __cplusplus
}
#endif
