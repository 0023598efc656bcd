// zlibc's file access: the input read whole with one read, the output written with one write
// to a temporary name in its folder and renamed into place only when complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>

// What went wrong, as the one line zlibc prints.
struct ZlibcError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A buffer that is not cleared first: large buffers are written once, never read before.
struct Bytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};
Bytes uninitializedBytes(std::size_t size);

// The largest input or output zlibc handles: the archive records sizes as signed 32-bit.
inline constexpr std::size_t kMaxDataSize = 0x7FFFFFFF;

Bytes readInputFile(const std::filesystem::path& path);
// Replaces `path` with `size` bytes; on failure neither `path` nor a temporary file changes
// or remains (an earlier file of that name stays as it was).
void writeOutputFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);
