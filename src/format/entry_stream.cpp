#include "format/entry_stream.h"

#include <zlib.h>

#include <algorithm>

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

EntryContent::EntryContent(const std::filesystem::path& archive, std::uint64_t offset, std::uint64_t size,
                           bool compressed)
    : archive_(archive), offset_(offset), left_(size), compressed_(compressed) {
    if (!compressed_) return;
    stream_ = std::make_unique<z_stream>();
    if (inflateInit2(stream_.get(), -MAX_WBITS) != Z_OK) {
        stream_.reset();
        throw Failure("Cannot start inflating: out of memory.");
    }
    out_.resize(kPiece);
}

EntryContent::~EntryContent() {
    if (stream_) inflateEnd(stream_.get());
}

std::string_view EntryContent::nextStored() {
    if (left_ == 0) return {};
    const std::uint64_t n = std::min<std::uint64_t>(kPiece, left_);
    in_ = archive_.read(offset_, n);
    offset_ += n, left_ -= n;
    return in_;
}

std::string_view EntryContent::next() {
    if (!compressed_) return nextStored();
    z_stream& stream = *stream_;
    while (!ended_) {
        if (stream.avail_in == 0) {
            const std::string_view in = nextStored();
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
            stream.avail_in = static_cast<uInt>(in.size());
        }
        stream.next_out = reinterpret_cast<Bytef*>(out_.data());
        stream.avail_out = static_cast<uInt>(out_.size());
        const int status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t got = out_.size() - stream.avail_out;
        // No progress with all input used: the stream is cut short.
        const bool cutShort = got == 0 && stream.avail_in == 0 && left_ == 0 && status != Z_STREAM_END;
        if ((status != Z_OK && status != Z_BUF_ERROR && status != Z_STREAM_END) || cutShort) {
            damaged_ = ended_ = true;
            return {};
        }
        ended_ = status == Z_STREAM_END;
        if (got > 0) return std::string_view(out_).substr(0, got);
    }
    return {};
}

InflateResult inflatePieces(const std::filesystem::path& archive, std::uint64_t offset, std::uint64_t size,
                            const PieceSink& take) {
    EntryContent content(archive, offset, size, true);
    std::uint64_t inflated = 0;
    for (std::string_view piece; !(piece = content.next()).empty();) {
        inflated += piece.size();
        if (!take(piece)) return {InflateEnd::Stopped, inflated};
    }
    return {content.damaged() ? InflateEnd::Damaged : InflateEnd::Complete, inflated};
}
