#include "format/whole_inflate.h"

#include <libdeflate.h>

#include <memory>

namespace {

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One per thread, kept: allocating one costs more than inflating a small entry.
libdeflate_decompressor* decompressor() {
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> own(libdeflate_alloc_decompressor());
    return own.get();
}

}  // namespace

std::optional<std::string> inflateWhole(RangeReader& archive, std::uint64_t offset, std::uint64_t size,
                                        std::int64_t expected) {
    if (expected < 0 || std::uint64_t(expected) > kWholeInflateLimit || size > kWholeInflateLimit || !decompressor())
        return std::nullopt;
    std::string stored;
    try {
        stored = archive.read(offset, size);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::string inflated(static_cast<std::size_t>(expected), '\0');
    if (libdeflate_deflate_decompress(decompressor(), stored.data(), stored.size(), inflated.data(), inflated.size(),
                                      nullptr) != LIBDEFLATE_SUCCESS)
        return std::nullopt;
    return inflated;
}

InflateResult inflatedSizeOf(RangeReader& archive, std::uint64_t offset, std::uint64_t size, std::int64_t expected) {
    if (inflateWhole(archive, offset, size, expected)) return {InflateEnd::Complete, std::uint64_t(expected)};
    return inflatePieces(archive.path(), offset, size, [](std::string_view) { return true; });
}
