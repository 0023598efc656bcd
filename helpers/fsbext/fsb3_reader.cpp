// Reading an FSB3 bank's header and sample headers.
#include "fsb3_reader.h"

#include <algorithm>

#include "common/bytes.h"
#include "common/failure.h"
#include "common/text.h"

namespace {

constexpr std::size_t kBankHeaderSize = kFsb3HeaderSize;
constexpr std::uint32_t kVersion30 = 0x30000;
constexpr std::uint32_t kVersion31 = 0x30001;
// Bank mode flag: every sample header after the first is the basic 8-byte form.
constexpr std::uint32_t kBankBasicHeaders = 0x2;
// A full sample header: 64 bytes in 3.0; 3.1 adds distances and variations.
constexpr std::size_t kFullHeader30 = 64;
constexpr std::size_t kFullHeader31 = 80;
constexpr std::size_t kBasicHeader = 8;
constexpr std::size_t kNameSize = 30;

std::string at(std::size_t offset) { return "offset 0x" + hexUpper(offset); }

std::int32_t nonNegative(std::int32_t value, const char* what) {
    if (value < 0)
        throw Failure(std::string("The bank header gives a negative ") + what + " (" + std::to_string(value) + ").");
    return value;
}

// Fails unless `length` bytes from `offset` lie inside the sample headers.
void needHeaderBytes(int index, std::size_t offset, std::size_t length, std::size_t headersEnd) {
    if (offset > headersEnd || length > headersEnd - offset)
        throw Failure("Sample header " + std::to_string(index) + " at " + at(offset) +
                      " runs past the end of the sample headers at " + at(headersEnd) + ".");
}

Fsb3Sample readFullHeader(const ByteReader& in, int index, std::size_t& pos, std::size_t headersEnd,
                          std::size_t minimumSize) {
    needHeaderBytes(index, pos, 2, headersEnd);
    std::size_t size = in.u16(pos, "sample header size");
    if (size < minimumSize)
        throw Failure("Sample header " + std::to_string(index) + " at " + at(pos) + " gives its size as " +
                      std::to_string(size) + " bytes; a full header has " + std::to_string(minimumSize) + ".");
    needHeaderBytes(index, pos, size, headersEnd);
    Fsb3Sample sample;
    std::string_view name = in.bytes(pos + 2, kNameSize, "sample name");
    sample.name = std::string(name.substr(0, name.find('\0')));
    sample.dataLength = in.u32(pos + 36, "sample length in bytes");
    sample.mode = in.u32(pos + 48, "sample mode");
    sample.frequency = in.i32(pos + 52, "sample frequency");
    sample.channels = in.u16(pos + 62, "sample channel count");
    pos += size;
    return sample;
}

// A basic header holds only the lengths; the rest is the first sample's, except the name.
Fsb3Sample readBasicHeader(const ByteReader& in, int index, std::size_t& pos, std::size_t headersEnd,
                           const Fsb3Sample& first) {
    needHeaderBytes(index, pos, kBasicHeader, headersEnd);
    Fsb3Sample sample;
    sample.mode = first.mode;
    sample.frequency = first.frequency;
    sample.channels = first.channels;
    sample.dataLength = in.u32(pos + 4, "sample length in bytes");
    pos += kBasicHeader;
    return sample;
}

}  // namespace

std::uint64_t fsb3HeadersLength(std::string_view header, std::uint64_t bankSize) {
    if (header.size() < kBankHeaderSize) return header.size();  // all of a bank too short for its header
    std::int32_t headersSize = ByteReader(header).i32(8, "sample headers size");
    return std::min<std::uint64_t>(bankSize, kBankHeaderSize + static_cast<std::uint64_t>(std::max(headersSize, 0)));
}

std::vector<Fsb3Sample> readFsb3Bank(std::string_view bank, std::uint64_t bankSize) {
    if (bank.substr(0, 4) != "FSB3") throw Failure("Not an FSB3 sound bank: it does not begin with \"FSB3\".");
    ByteReader in(bank);
    std::int32_t count = nonNegative(in.i32(4, "sample count"), "sample count");
    std::size_t headersSize =
        static_cast<std::size_t>(nonNegative(in.i32(8, "sample headers size"), "sample headers size"));
    std::size_t dataSize = static_cast<std::size_t>(nonNegative(in.i32(12, "sample data size"), "sample data size"));
    std::uint32_t version = in.u32(16, "bank version");
    std::uint32_t bankMode = in.u32(20, "bank mode");
    if (version != kVersion30 && version != kVersion31)
        throw Failure("Unknown FSB3 version 0x" + hexUpper(version) + " (0x30000 and 0x30001 are known).");

    if (std::uint64_t{kBankHeaderSize} + headersSize + dataSize > bankSize)
        throw Failure("The sample headers (" + std::to_string(headersSize) + " bytes) and data (" +
                      std::to_string(dataSize) + " bytes) run past the end of the bank (" + std::to_string(bankSize) +
                      " bytes).");
    const std::size_t headersEnd = kBankHeaderSize + headersSize;
    const std::size_t dataEnd = headersEnd + dataSize;
    // Every header takes at least 8 bytes; this bounds the count before anything is allocated.
    if (static_cast<std::size_t>(count) > headersSize / kBasicHeader)
        throw Failure(std::to_string(count) + " samples cannot fit in " + std::to_string(headersSize) +
                      " bytes of sample headers.");

    const std::size_t fullSize = version == kVersion31 ? kFullHeader31 : kFullHeader30;
    std::vector<Fsb3Sample> samples;
    samples.reserve(static_cast<std::size_t>(count));
    std::size_t pos = kBankHeaderSize;
    std::size_t dataPos = headersEnd;
    for (int i = 0; i < count; ++i) {
        Fsb3Sample sample = (i == 0 || !(bankMode & kBankBasicHeaders))
                                ? readFullHeader(in, i, pos, headersEnd, fullSize)
                                : readBasicHeader(in, i, pos, headersEnd, samples.front());
        if (sample.dataLength > dataEnd - dataPos)
            throw Failure("The data of sample " + std::to_string(i) + " (" + std::to_string(sample.dataLength) +
                          " bytes at " + at(dataPos) + ") runs past the end of the sample data at " + at(dataEnd) +
                          ".");
        sample.dataOffset = dataPos;
        dataPos += sample.dataLength;
        samples.push_back(std::move(sample));
    }
    return samples;
}
