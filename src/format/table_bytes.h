// An archive's tables, its bytes up to the end of the RAWD tag, read from the file as the TOC
// and STOC walks reach them: memory holds one window of them, whatever sizes the header claims.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/files.h"

class TableBytes {
public:
    // `size` must not pass the end of the file.
    TableBytes(const std::filesystem::path& archive, std::uint64_t size) : reader_(archive), size_(size) {}
    std::uint64_t size() const { return size_; }
    // The `length` bytes from `offset`, which the caller has checked to lie inside; valid until
    // the next call.
    std::string_view bytes(std::uint64_t offset, std::size_t length);

private:
    RangeReader reader_;
    std::uint64_t size_;
    std::uint64_t start_ = 0;
    std::string window_;
};
