// FSB3 sound banks built byte by byte for tests, independent of fsbext's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TestSample {
    std::string name;  // zero-padded to 30 bytes; a name of 30 bytes has no zero byte
    std::string data;
    std::uint32_t mode = 0x10 | 0x20;  // 16-bit mono
    std::int32_t frequency = 22050;
    std::uint16_t channels = 1;
};

inline void putLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A full sample header: 64 bytes in version 0x30000, 80 in 0x30001.
inline std::string fullSampleHeader(const TestSample& s, std::uint32_t version) {
    const bool v31 = version == 0x30001;
    std::string h;
    putLe(h, v31 ? 80 : 64, 2);
    std::string name = s.name;
    name.resize(30, '\0');
    h += name;
    putLe(h, s.data.size() / 2, 4);  // length in samples (not read by fsbext)
    putLe(h, s.data.size(), 4);      // length in bytes
    putLe(h, 0, 4);                  // loop start
    putLe(h, s.data.size() / 2, 4);  // loop end
    putLe(h, s.mode, 4);
    putLe(h, static_cast<std::uint32_t>(s.frequency), 4);
    putLe(h, 0x0080'0080'00FF, 6);  // volume 255, pan 128, priority 128
    putLe(h, s.channels, 2);
    if (v31) {
        putLe(h, 0x461C4000'3F800000, 8);  // float min/max distance 1 and 10000
        putLe(h, 0, 8);                    // frequency, volume and pan variations
    }
    return h;
}

// The bank: "FSB3" header, sample headers (later ones basic with bank mode 0x2), data.
inline std::string fsb3Bank(const std::vector<TestSample>& samples, std::uint32_t version = 0x30000,
                            std::uint32_t bankMode = 0) {
    std::string headers, data;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i > 0 && (bankMode & 0x2)) {
            putLe(headers, samples[i].data.size() / 2, 4);
            putLe(headers, samples[i].data.size(), 4);
        } else {
            headers += fullSampleHeader(samples[i], version);
        }
        data += samples[i].data;
    }
    std::string bank = "FSB3";
    for (std::uint64_t field : {std::uint64_t{samples.size()}, std::uint64_t{headers.size()},
                                std::uint64_t{data.size()}, std::uint64_t{version}, std::uint64_t{bankMode}})
        putLe(bank, field, 4);
    return bank + headers + data;
}
