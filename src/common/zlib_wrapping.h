// The wrapping that makes a raw DEFLATE body (an archive entry's, an .mpkg's) a zlib stream for
// "zlibc -x": the fixed header before it, four zero bytes where the checksum would stand after it.
#pragma once

#include <string>
#include <string_view>

inline const std::string kZlibHeader("\x78\x9C", 2);
inline const std::string kZlibTrailer(4, '\0');

inline std::string zlibWrapped(std::string_view body) {
    std::string wrapped;
    wrapped.reserve(kZlibHeader.size() + body.size() + kZlibTrailer.size());
    return wrapped.append(kZlibHeader).append(body).append(kZlibTrailer);
}
