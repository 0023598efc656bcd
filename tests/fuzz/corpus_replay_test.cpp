// Every seed of every fuzz target, run through the target's own check: the readers of outside
// input handle each seed, here in every build and under the sanitizers.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "fixtures/temp_dir.h"

// The fuzz targets' entry points, each compiled under a name of its own.
#define VR_FUZZ_TARGETS(X)                                                                                          \
    X(fuzz_mpak_tables) X(fuzz_toc_library) X(fuzz_stoc_library) X(fuzz_staged_name) X(fuzz_model_scan)           \
    X(fuzz_fsb3_bank) X(fuzz_zlib_inflate)
#define VR_DECLARE(name) extern "C" int name(const std::uint8_t* data, std::size_t size);
VR_FUZZ_TARGETS(VR_DECLARE)

TEST(FuzzCorpus, EverySeedOfEveryTargetIsHandled) {
    using Target = int (*)(const std::uint8_t*, std::size_t);
#define VR_ENTRY(name) {#name, &name},
    const std::pair<const char*, Target> targets[] = {VR_FUZZ_TARGETS(VR_ENTRY)};
    for (const auto& [name, target] : targets) {
        const fs::path corpus = fs::path(VR_SOURCE_DIR) / "fuzz" / "corpus" / name;
        ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
        for (const auto& seed : fs::directory_iterator(corpus)) {
            SCOPED_TRACE(seed.path().string());
            std::string bytes = readFile(seed.path());
            EXPECT_EQ(target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
        }
    }
}
