// The wrapping that makes a raw DEFLATE body (an archive entry's, an .mpkg's) a zlib stream for
// "zlibc -x": the fixed header before it, four zero bytes where the checksum would stand after it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline const std::string kZlibHeader("\x78\x9C", 2);
inline const std::string kZlibTrailer(4, '\0');

// What an archive stores of a zlib stream that zlibc made: the raw DEFLATE data between its
// 2-byte header and its 4-byte checksum.
inline constexpr std::size_t kZlibHeaderBytes = 2, kZlibWrapperBytes = 6;

inline std::string zlibWrapped(std::string_view body) {
    std::string wrapped;
    wrapped.reserve(kZlibHeader.size() + body.size() + kZlibTrailer.size());
    return wrapped.append(kZlibHeader).append(body).append(kZlibTrailer);
}
