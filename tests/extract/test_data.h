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

// Raw DEFLATE data of an archive entry inflated by zlib, independent of our zlibc.
inline std::string inflateRaw(const std::string& stored, std::size_t originalSize) {
    std::string out(originalSize, '\0');
    z_stream z{};
    EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
    z.avail_in = static_cast<uInt>(stored.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    EXPECT_EQ(z.avail_out, 0u);
    inflateEnd(&z);
    return out;
}
