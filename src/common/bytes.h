// Little-endian reads and writes with bounds checks, and checked 16/32-bit arithmetic.
// Every field of the game's files has a fixed width; going past a width is a Failure,
// never a silent wrap-around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads fields out of a byte buffer; every read that would pass the end fails with the
// offset and what was being read.
class ByteReader {
public:
    explicit ByteReader(std::string_view data) : data_(data) {}

    std::size_t size() const { return data_.size(); }
    std::uint8_t u8(std::size_t offset, const char* what) const;
    std::int16_t i16(std::size_t offset, const char* what) const;
    std::uint16_t u16(std::size_t offset, const char* what) const;
    std::int32_t i32(std::size_t offset, const char* what) const;
    std::uint32_t u32(std::size_t offset, const char* what) const;
    std::string_view bytes(std::size_t offset, std::size_t length, const char* what) const;

private:
    void need(std::size_t offset, std::size_t length, const char* what) const;
    std::string_view data_;
};

void appendU8(std::string& out, std::uint8_t value);
void appendI16(std::string& out, std::int16_t value);
void appendU16(std::string& out, std::uint16_t value);
void appendI32(std::string& out, std::int32_t value);
void appendU32(std::string& out, std::uint32_t value);

// Checked narrowing and arithmetic; `what` names the value in the failure text.
std::int16_t toInt16(long long value, const char* what);
std::int32_t toInt32(long long value, const char* what);
std::int32_t addInt32(std::int32_t a, std::int32_t b, const char* what);
