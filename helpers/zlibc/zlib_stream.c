// Inflating and deflating whole buffers with libdeflate. The inflated size is not stored in
// the stream, so the output buffer starts at a guess and doubles until the data fits.
#include "zlib_stream.h"

#include <libdeflate.h>

#include "block_arena.h"

enum { kHeaderSize = 2, kTrailerSize = 4 };
// libdeflate's default level: a good balance of speed and size. Packed archives depend on
// the exact bytes it gives.
enum { kCompressionLevel = 6 };

// Most game data inflates to under four times its size; unused pages of a larger buffer
// are never touched, so a generous guess costs little and spares a second pass.
static size_t firstGuess(size_t deflatedSize) {
    const size_t smallest = 64 * 1024;
    if (deflatedSize > ZLIBC_MAX_DATA_SIZE / 4) return ZLIBC_MAX_DATA_SIZE;
    return deflatedSize * 4 > smallest ? deflatedSize * 4 : smallest;
}

static bool inflateWith(struct libdeflate_decompressor* decompressor, const uint8_t* deflated, size_t deflatedSize,
                        Bytes* output, ZlibcFailure* failure) {
    for (size_t capacity = firstGuess(deflatedSize);;) {
        uint8_t* buffer = (uint8_t*)zlibcAllocate(capacity);
        if (!buffer) return fail(failure, "out of memory");
        size_t usedIn = 0, producedOut = 0;
        enum libdeflate_result result = libdeflate_deflate_decompress_ex(decompressor, deflated, deflatedSize, buffer,
                                                                         capacity, &usedIn, &producedOut);
        if (result == LIBDEFLATE_SUCCESS && deflatedSize - usedIn >= kTrailerSize) {
            zlibcKeepFront(buffer, producedOut);
            output->data = buffer;
            output->size = producedOut;
            return true;
        }
        zlibcFree(buffer);
        if (result == LIBDEFLATE_SUCCESS)
            return fail(failure, "the stream is cut short: its 4-byte trailer is missing");
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) return fail(failure, "the DEFLATE data is corrupt or cut short");
        if (capacity == ZLIBC_MAX_DATA_SIZE)
            return fail(failure, "the inflated data is larger than " ZLIBC_MAX_DATA_SIZE_TEXT " bytes");
        capacity = capacity > ZLIBC_MAX_DATA_SIZE / 2 ? ZLIBC_MAX_DATA_SIZE : capacity * 2;
    }
}

bool inflateZlibWrapped(const uint8_t* input, size_t size, Bytes* output, ZlibcFailure* failure) {
    if (size < kHeaderSize + kTrailerSize)
        return fail(failure, "the input holds %u bytes, too few for a zlib header, data and trailer", (unsigned)size);
    struct libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    if (!decompressor) return fail(failure, "out of memory");
    bool inflated = inflateWith(decompressor, input + kHeaderSize, size - kHeaderSize, output, failure);
    libdeflate_free_decompressor(decompressor);
    return inflated;
}

bool deflateToZlib(const uint8_t* input, size_t size, Bytes* output, ZlibcFailure* failure) {
    struct libdeflate_compressor* compressor = libdeflate_alloc_compressor(kCompressionLevel);
    if (!compressor) return fail(failure, "out of memory");
    size_t bound = libdeflate_zlib_compress_bound(compressor, size);
    uint8_t* buffer = (uint8_t*)zlibcAllocate(bound);
    size_t written = buffer ? libdeflate_zlib_compress(compressor, input, size, buffer, bound) : 0;
    libdeflate_free_compressor(compressor);
    if (!buffer) return fail(failure, "out of memory");
    if (written == 0 || written > ZLIBC_MAX_DATA_SIZE) {
        zlibcFree(buffer);
        return fail(failure, written == 0 ? "the compressed data does not fit its buffer"
                                          : "the compressed data is larger than " ZLIBC_MAX_DATA_SIZE_TEXT " bytes");
    }
    zlibcKeepFront(buffer, written);
    output->data = buffer;
    output->size = written;
    return true;
}
