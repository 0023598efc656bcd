// Inflating and deflating whole buffers with libdeflate. The inflated size is not stored in
// the stream, so the output buffer starts at a guess and doubles until the data fits.
#include "zlib_stream.h"

#include <libdeflate.h>

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t kHeaderSize = 2;
constexpr std::size_t kTrailerSize = 4;

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Most game data inflates to under four times its size; unused pages of a larger buffer
// are never touched, so a generous guess costs little and spares a second pass.
std::size_t firstGuess(std::size_t deflatedSize) {
    constexpr std::size_t kSmallest = 64 * 1024;
    if (deflatedSize > kMaxDataSize / 4) return kMaxDataSize;
    return std::max(kSmallest, deflatedSize * 4);
}

}  // namespace

Bytes inflateZlibWrapped(const Bytes& input) {
    if (input.size < kHeaderSize + kTrailerSize)
        throw ZlibcError("the input holds " + std::to_string(input.size) +
                         " bytes, too few for a zlib header, data and trailer");
    const std::uint8_t* deflated = input.data.get() + kHeaderSize;
    std::size_t deflatedSize = input.size - kHeaderSize;

    std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor) throw ZlibcError("out of memory");
    for (std::size_t capacity = firstGuess(deflatedSize);; capacity = std::min(kMaxDataSize, capacity * 2)) {
        Bytes output = uninitializedBytes(capacity);
        std::size_t usedIn = 0, producedOut = 0;
        libdeflate_result result = libdeflate_deflate_decompress_ex(decompressor.get(), deflated, deflatedSize,
                                                                    output.data.get(), capacity, &usedIn, &producedOut);
        if (result == LIBDEFLATE_SUCCESS) {
            if (deflatedSize - usedIn < kTrailerSize)
                throw ZlibcError("the stream is cut short: its 4-byte trailer is missing");
            output.size = producedOut;
            return output;
        }
        if (result != LIBDEFLATE_INSUFFICIENT_SPACE) throw ZlibcError("the DEFLATE data is corrupt or cut short");
        if (capacity == kMaxDataSize)
            throw ZlibcError("the inflated data is larger than " + std::to_string(kMaxDataSize) + " bytes");
    }
}

Bytes deflateToZlib(const Bytes& input) {
    std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(libdeflate_alloc_compressor(kCompressionLevel));
    if (!compressor) throw ZlibcError("out of memory");
    Bytes output = uninitializedBytes(libdeflate_zlib_compress_bound(compressor.get(), input.size));
    output.size =
        libdeflate_zlib_compress(compressor.get(), input.data.get(), input.size, output.data.get(), output.size);
    if (output.size == 0) throw ZlibcError("the compressed data does not fit its buffer");
    return output;
}
