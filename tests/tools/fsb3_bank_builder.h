// FSB3 sound banks built byte by byte for tests, independent of fsbext's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TestSample {
    std::string name;  // zero-padded to 30 bytes; a name of 30 bytes has no zero byte
    std::string data;
    std::uint32_t mode = 0x10 | 0x20;  // 16-bit mono
    std::uint32_t frequency = 22050;
    std::uint16_t channels = 1;
};

// `value` as `bytes` little-endian bytes.
inline std::string le(std::uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
}

// The 24-byte bank header, the sample headers, then the data. A full sample header has 64 bytes in
// version 0x30000 and 80 in 0x30001; with bank mode 0x2 every later one is basic: its two lengths.
inline std::string fsb3Bank(const std::vector<TestSample>& samples, std::uint32_t version = 0x30000,
                            std::uint32_t bankMode = 0) {
    std::string headers, data;
    for (const TestSample& s : samples) {
        const std::uint64_t bytes = s.data.size();
        const bool full = !(bankMode & 0x2) || &s == &samples.front();
        if (full) headers += le(version == 0x30001 ? 80 : 64, 2) + s.name + std::string(30 - s.name.size(), '\0');
        headers += le(bytes / 2, 4) + le(bytes, 4);  // the length in samples is not read by fsbext
        // Loop start and end, mode, frequency, volume 255, pan and priority 128, channels, and in
        // version 0x30001 distances and variations.
        if (full)
            headers += le(0, 4) + le(bytes / 2, 4) + le(s.mode, 4) + le(s.frequency, 4) + le(0x0080'0080'00FF, 6) +
                       le(s.channels, 2) + std::string(version == 0x30001 ? 16 : 0, '\0');
        data += s.data;
    }
    return "FSB3" + le(samples.size(), 4) + le(headers.size(), 4) + le(data.size(), 4) + le(version, 4) +
           le(bankMode, 4) + headers + data;
}
