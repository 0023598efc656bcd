#include "format/entry_stream.h"

#include <zlib.h>

#include <algorithm>
#include <string>

#include "common/failure.h"

namespace {

constexpr std::size_t kPiece = 1 << 16;

}  // namespace

void readStoredPieces(RangeReader& archive, std::uint64_t offset, std::uint64_t size, const PieceSink& take) {
    for (std::uint64_t done = 0; done < size;) {
        const std::uint64_t n = std::min<std::uint64_t>(kPiece, size - done);
        if (!take(archive.read(offset + done, n))) return;
        done += n;
    }
}

InflateResult inflatePieces(RangeReader& archive, std::uint64_t offset, std::uint64_t size, const PieceSink& take) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw Failure("Cannot start inflating: out of memory.");
    struct End {
        z_stream& stream;
        ~End() { inflateEnd(&stream); }  // also when reading the archive fails
    } end{stream};
    std::string out(kPiece, '\0');
    int status = Z_OK;
    bool taken = true;
    std::uint64_t inflated = 0;
    readStoredPieces(archive, offset, size, [&](std::string_view in) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        stream.avail_in = static_cast<uInt>(in.size());
        while (status == Z_OK && taken && (stream.avail_in > 0 || stream.avail_out == 0)) {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_BUF_ERROR) status = Z_OK;  // no progress until more input comes
            const std::size_t got = out.size() - stream.avail_out;
            inflated += got;
            if (got > 0) taken = take(std::string_view(out).substr(0, got));
        }
        return status == Z_OK && taken;  // the stream's end ends the reading too
    });
    if (!taken) return {InflateEnd::Stopped, inflated};
    return {status == Z_STREAM_END ? InflateEnd::Complete : InflateEnd::Damaged, inflated};
}
