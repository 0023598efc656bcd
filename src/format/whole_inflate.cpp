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

// Into `out`, sized to `expected` already: true when the stream fills it exactly.
bool inflateInto(std::string_view stored, std::string& out) {
    return libdeflate_deflate_decompress(decompressor(), stored.data(), stored.size(), out.data(), out.size(),
                                         nullptr) == LIBDEFLATE_SUCCESS;
}

bool wholeSizes(std::uint64_t size, std::int64_t expected) {
    return expected >= 0 && std::uint64_t(expected) <= kWholeInflateLimit && size <= kWholeInflateLimit &&
           decompressor();
}

}  // namespace

std::optional<std::string> inflateWhole(RangeReader& archive, std::uint64_t offset, std::uint64_t size,
                                        std::int64_t expected) {
    if (!wholeSizes(size, expected)) return std::nullopt;
    std::string stored;
    try {
        stored = archive.read(offset, size);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::string inflated(static_cast<std::size_t>(expected), '\0');
    if (!inflateInto(stored, inflated)) return std::nullopt;
    return inflated;
}

bool inflatesWholeTo(std::string_view stored, std::int64_t expected) {
    if (!wholeSizes(stored.size(), expected)) return false;
    thread_local std::string inflated;  // kept: most entries are small, and fresh pages cost
    inflated.resize(static_cast<std::size_t>(expected));
    return inflateInto(stored, inflated);
}

std::uint32_t crc32Of(std::string_view bytes) { return libdeflate_crc32(0, bytes.data(), bytes.size()); }

InflateResult inflatedSizeOf(RangeReader& archive, std::uint64_t offset, std::uint64_t size, std::int64_t expected) {
    if (inflateWhole(archive, offset, size, expected)) return {InflateEnd::Complete, std::uint64_t(expected)};
    return inflatePieces(archive.path(), offset, size, [](std::string_view) { return true; });
}
