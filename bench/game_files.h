// The benchmark's data: 10001 game files of about 100 MiB from a fixed seed, and the archive
// that holds them, two thirds of them deflated.
#pragma once

#include <libdeflate.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "../tests/fixtures/mpak_builder.h"
#include "common/text.h"

struct GameFile {
    std::string path;  // "\" separators
    std::string content;
    bool compressed;
};

// Many small files, some large ones: sizes log-uniform between 64 bytes and 64 KiB, and every
// 400th file between 256 KiB and 4 MiB. Contents repeat blocks from a small dictionary, so
// that they deflate to about 70% as textures and meshes do. Spread over many folders, or, with
// `filesPerFolder`, that many to a folder.
inline std::vector<GameFile> makeGameFiles(int count, int filesPerFolder = 0) {
    std::mt19937_64 random(2024);
    std::vector<std::string> dictionary(256);
    for (std::string& block : dictionary)
        for (int i = 0; i < 64; ++i) block += static_cast<char>(random() & 0xFF);
    auto logUniform = [&](double low, double high) {
        return static_cast<std::size_t>(
            std::exp(std::log(low) + std::uniform_real_distribution<double>(0, 1)(random) * std::log(high / low)));
    };
    const char* kinds[] = {"textures", "models", "sounds", "levels", "scripts", "effects"};
    std::vector<GameFile> files;
    for (int i = 0; i < count; ++i) {
        std::size_t size = i % 400 == 0 ? logUniform(256 << 10, 4 << 20) : logUniform(64, 64 << 10);
        std::string content;
        content.reserve(size + 64);
        while (content.size() < size) {
            if (random() % 3 != 0)
                content += dictionary[random() % dictionary.size()];
            else
                for (int k = 0; k < 64; ++k) content += static_cast<char>(random() & 0xFF);
        }
        content.resize(size);
        std::string path = std::string(kinds[i % 6]) + "\\set" + std::to_string(i % 37) + "\\part" +
                           std::to_string(i % 5) + "\\file" + std::to_string(i) + ".bin";
        if (filesPerFolder > 0)
            path = std::string(kinds[i / filesPerFolder % 6]) + "\\set" + std::to_string(i / filesPerFolder) +
                   "\\file" + std::to_string(i) + ".bin";
        files.push_back({path, std::move(content), i % 3 != 0});
    }
    return files;
}

// The archive's bytes: compressed files stored as raw DEFLATE at zlibc's level.
inline std::string buildGameArchive(const std::vector<GameFile>& files) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    MpakBuilder builder;
    std::string deflated;
    for (const GameFile& f : files) {
        if (f.compressed) {
            deflated.resize(libdeflate_deflate_compress_bound(compressor, f.content.size()));
            deflated.resize(libdeflate_deflate_compress(compressor, f.content.data(), f.content.size(),
                                                        deflated.data(), deflated.size()));
        }
        builder.entry(replaceAll(f.path, '\\', '/'), f.compressed ? deflated : f.content,
                      MpakEntryOptions()
                          .compressed(f.compressed ? 1 : 0)
                          .originalSize(static_cast<std::int32_t>(f.content.size())));
    }
    libdeflate_free_compressor(compressor);
    return builder.build();
}
