// Entry contents for extraction tests: raw DEFLATE made by zlib (independent of our zlibc)
// and bytes that a text-mode write would change.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

// Raw DEFLATE as an archive stores it: zlib's stream without its 2-byte header and 4-byte trailer.
inline std::string rawDeflate(const std::string& content) {
    uLongf size = compressBound(content.size());
    std::string stream(size, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(stream.data()), &size, reinterpret_cast<const Bytef*>(content.data()),
                        content.size(), 9),
              Z_OK);
    return stream.substr(2, size - 6);
}

// Bytes that a text mode would change, spread over `length` bytes.
inline std::string awkwardBytes(std::size_t length, unsigned seed) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes += "\r\n\x1A\0ab\xFF\n"[(i * 7 + seed + i / 13) % 8];
    return bytes;
}
