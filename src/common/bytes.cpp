#include "common/bytes.h"

#include "common/failure.h"
#include "common/text.h"

void ByteReader::need(std::size_t offset, std::size_t length, const char* what) const {
    if (offset > data_.size() || length > data_.size() - offset) {
        throw Failure(std::string("The ") + what + " at offset 0x" + hexUpper(offset) +
                      " runs past the end of the file (" + std::to_string(data_.size()) +
                      " bytes).");
    }
}

std::uint8_t ByteReader::u8(std::size_t offset, const char* what) const {
    need(offset, 1, what);
    return static_cast<std::uint8_t>(data_[offset]);
}

std::uint16_t ByteReader::u16(std::size_t offset, const char* what) const {
    need(offset, 2, what);
    auto b = [&](std::size_t i) { return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data_[offset + i])); };
    return static_cast<std::uint16_t>(b(0) | (b(1) << 8));
}

std::int16_t ByteReader::i16(std::size_t offset, const char* what) const {
    return static_cast<std::int16_t>(u16(offset, what));
}

std::uint32_t ByteReader::u32(std::size_t offset, const char* what) const {
    need(offset, 4, what);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(data_[offset + i]);
    return v;
}

std::int32_t ByteReader::i32(std::size_t offset, const char* what) const {
    return static_cast<std::int32_t>(u32(offset, what));
}

std::string_view ByteReader::bytes(std::size_t offset, std::size_t length, const char* what) const {
    need(offset, length, what);
    return data_.substr(offset, length);
}

void appendU8(std::string& out, std::uint8_t value) { out.push_back(static_cast<char>(value)); }

void appendU16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void appendI16(std::string& out, std::int16_t value) { appendU16(out, static_cast<std::uint16_t>(value)); }

void appendU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void appendI32(std::string& out, std::int32_t value) { appendU32(out, static_cast<std::uint32_t>(value)); }

namespace {

[[noreturn]] void beyondRange(const char* what, long long value, long long min, long long max) {
    std::string text = what;
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    throw Failure(text + " comes to " + std::to_string(value) + ", more than an archive can record there (" +
                  std::to_string(min) + " to " + std::to_string(max) + ").");
}

}  // namespace

std::int16_t toInt16(long long value, const char* what) {
    if (value < INT16_MIN || value > INT16_MAX) beyondRange(what, value, INT16_MIN, INT16_MAX);
    return static_cast<std::int16_t>(value);
}

std::int32_t toInt32(long long value, const char* what) {
    if (value < INT32_MIN || value > INT32_MAX) beyondRange(what, value, INT32_MIN, INT32_MAX);
    return static_cast<std::int32_t>(value);
}

std::int32_t addInt32(std::int32_t a, std::int32_t b, const char* what) {
    return toInt32(static_cast<long long>(a) + b, what);
}
