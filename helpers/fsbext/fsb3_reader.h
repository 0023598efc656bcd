// The layout of an FSB3 sound bank: its 24-byte header, its sample headers and where each
// sample's data lies. Nothing is decoded; every field read is bounds-checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Fsb3Sample {
    std::string name;        // the stored name up to its first zero byte; empty for a basic header
    std::uint32_t mode = 0;  // sample mode flags
    std::int32_t frequency = 0;
    std::uint16_t channels = 0;
    std::size_t dataOffset = 0;  // in the bank
    std::size_t dataLength = 0;
};

// Sample mode flags that fsbext looks at.
inline constexpr std::uint32_t kFsbMode8Bits = 0x08;
inline constexpr std::uint32_t kFsbMode16Bits = 0x10;
inline constexpr std::uint32_t kFsbModeUnsigned = 0x80;

inline constexpr std::size_t kFsb3HeaderSize = 24;

// How many leading bytes of a bank of `bankSize` bytes readFsb3Bank needs, given its first
// kFsb3HeaderSize bytes (fewer when the bank is shorter): the header and the sample headers,
// never more than the bank holds. The sample data is then read a piece at a time.
std::uint64_t fsb3HeadersLength(std::string_view header, std::uint64_t bankSize);

// The samples of the bank, in bank order, from its first `fsb3HeadersLength` bytes (or more).
// Throws a Failure that says what is wrong: not an FSB3 bank, an unknown version, a header or
// sample data past the end.
std::vector<Fsb3Sample> readFsb3Bank(std::string_view bankStart, std::uint64_t bankSize);
// The same for a whole bank in memory.
inline std::vector<Fsb3Sample> readFsb3Bank(std::string_view bank) { return readFsb3Bank(bank, bank.size()); }
