#include "format/table_bytes.h"

#include <algorithm>

namespace {

// The walks move front to back in records of at most a few hundred bytes.
constexpr std::uint64_t kWindow = 1 << 16;

}  // namespace

std::string_view TableBytes::bytes(std::uint64_t offset, std::size_t length) {
    if (offset < start_ || offset + length > start_ + window_.size()) {
        start_ = offset;
        window_ = reader_.read(offset, std::min(std::max<std::uint64_t>(length, kWindow), size_ - offset));
    }
    return std::string_view(window_).substr(offset - start_, length);
}
