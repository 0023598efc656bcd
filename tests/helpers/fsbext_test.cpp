// fsbext run as a program on banks built byte by byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>

#include "fixtures/temp_dir.h"
#include "tools/fsb3_bank_builder.h"

namespace {

constexpr std::uint32_t k8Bits = 0x08, k16Bits = 0x10, kMono = 0x20, kStereo = 0x40, kUnsigned = 0x80;
constexpr std::uint32_t kImaAdpcm = 0x400000;

// A WAV header written out field by field, to compare with fsbext's.
std::string wavHeader(int channels, int rate, int bits, std::size_t dataSize) {
    std::string h = "RIFF";
    putLe(h, 36 + dataSize + dataSize % 2, 4);
    h += "WAVEfmt ";
    putLe(h, 16, 4);
    putLe(h, 1, 2);
    putLe(h, channels, 2);
    putLe(h, rate, 4);
    putLe(h, rate * channels * bits / 8, 4);
    putLe(h, channels * bits / 8, 2);
    putLe(h, bits, 2);
    h += "data";
    putLe(h, dataSize, 4);
    return h;
}

class FsbextTest : public ::testing::Test {
protected:
    FsbextTest() { fs::create_directory(out()); }

    fs::path out() const { return dir / "Sounds"; }

    // Runs fsbext -d <out> -a <bank>; returns the exit code and keeps stderr in `errors`.
    int run(const std::string& bankBytes, const std::string& bankName = "bank.fsb") {
        writeFile(dir / bankName, bankBytes);
        return runWithArguments("-d '" + out().string() + "' -a '" + (dir / bankName).string() + "'");
    }

    int runWithArguments(const std::string& arguments) {
        std::string command =
            std::string(VR_APP_DIR) + "/fsbext " + arguments + " 2>'" + (dir / "stderr").string() + "'";
        int status = std::system(command.c_str());
        errors = readFile(dir / "stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // True when fsbext wrote every sound and said nothing.
    bool converts(const std::string& bankBytes, const std::string& bankName = "bank.fsb") {
        return run(bankBytes, bankName) == 0 && errors.empty();
    }

    std::vector<std::string> outputFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void expectOneErrorLine() {
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(errors.rfind("fsbext: ", 0), 0u) << errors;
    }

    TempDir dir;
    std::string errors;
};

TEST_F(FsbextTest, WritesSixteenBitMonoAndStereoSamplesAsWavFiles) {
    const std::string mono("\x01\x02\xFF\x7F\x00\x80", 6);
    const std::string stereo("\x10\x00\x20\x00\x30\x00\x40\x00", 8);
    for (std::uint32_t version : {0x30000u, 0x30001u}) {
        fs::remove_all(out());
        fs::create_directory(out());
        ASSERT_TRUE(converts(fsb3Bank(
            {{"mono.wav", mono, k16Bits | kMono, 22050, 1}, {"stereo.wav", stereo, k16Bits | kStereo, 44100, 2}},
            version)))
            << errors;
        EXPECT_EQ(readFile(out() / "mono.wav"), wavHeader(1, 22050, 16, 6) + mono);
        EXPECT_EQ(readFile(out() / "stereo.wav"), wavHeader(2, 44100, 16, 8) + stereo);
        EXPECT_EQ(outputFiles(), (std::vector<std::string>{"mono.wav", "stereo.wav"}));
    }
}

TEST_F(FsbextTest, WritesEightBitSamplesUnsignedAsWavHoldsThem) {
    ASSERT_TRUE(
        converts(fsb3Bank({{"signed.wav", std::string("\x00\x7F\x80", 3), k8Bits | kMono, 11025, 1},
                           {"unsigned.wav", std::string("\x00\x7F\x80\xFF", 4), k8Bits | kMono | kUnsigned, 8000, 1}})))
        << errors;
    // Odd data gets a pad byte after the data chunk.
    EXPECT_EQ(readFile(out() / "signed.wav"), wavHeader(1, 11025, 8, 3) + std::string("\x80\xFF\x00\x00", 4));
    EXPECT_EQ(readFile(out() / "unsigned.wav"), wavHeader(1, 8000, 8, 4) + std::string("\x00\x7F\x80\xFF", 4));
}

TEST_F(FsbextTest, WritesOtherSamplesAsTheirBytesUnchanged) {
    ASSERT_TRUE(converts(fsb3Bank({{"adpcm.wav", "adpcm bytes", k16Bits | kMono | kImaAdpcm, 22050, 1},
                                   {"no_pcm_flag.bin", "odd", kMono, 22050, 1},
                                   {"no_rate.wav", "ab", k16Bits | kMono, 0, 1}})))
        << errors;
    EXPECT_EQ(readFile(out() / "adpcm.wav"), "adpcm bytes");
    EXPECT_EQ(readFile(out() / "no_pcm_flag.bin"), "odd");
    EXPECT_EQ(readFile(out() / "no_rate.wav"), "ab");
}

TEST_F(FsbextTest, BasicHeadersTakeTheFirstSamplesFormatAndGetSafeNames) {
    const std::string a("\x01\x00\x02\x00", 4), b("\x03\x00", 2), c("\x04\x00\x05\x00\x06\x00", 6);
    ASSERT_TRUE(converts(fsb3Bank({{"first.wav", a, k16Bits | kMono, 32000, 1}, {"", b}, {"", c}}, 0x30000, 0x2),
                         "effects.fsb"))
        << errors;
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"effects_1.wav", "effects_2.wav", "first.wav"}));
    EXPECT_EQ(readFile(out() / "first.wav"), wavHeader(1, 32000, 16, 4) + a);
    EXPECT_EQ(readFile(out() / "effects_1.wav"), wavHeader(1, 32000, 16, 2) + b);
    EXPECT_EQ(readFile(out() / "effects_2.wav"), wavHeader(1, 32000, 16, 6) + c);
}

TEST_F(FsbextTest, UnsafeEmptyAndRepeatedNamesGetTheBanksNameAndTheSoundsIndexEarlierFilesAreReplaced) {
    writeFile(out() / "same.wav", "an earlier, longer conversion, replaced whole");
    std::vector<TestSample> samples;
    for (const char* name :
         {"../escape.wav", "a\\b.wav", "C:drive.wav", "", "..", "same.wav", "SAME.wav", "voices_7.wav"})
        samples.push_back({name, std::string(2, 'x'), kMono, 22050, 1});
    samples.push_back({"same.wav", std::string(2, 'y'), k16Bits | kMono, 22050, 1});
    ASSERT_TRUE(converts(fsb3Bank(samples), "voices.fsb")) << errors;
    EXPECT_EQ(outputFiles(),
              (std::vector<std::string>{"same.wav", "voices_0.raw", "voices_1.raw", "voices_2.raw", "voices_3.raw",
                                        "voices_4.raw", "voices_6.raw", "voices_7.wav", "voices_8.wav"}));
    EXPECT_EQ(readFile(out() / "voices_8.wav").size(), 44u + 2u);
    EXPECT_EQ(readFile(out() / "same.wav"), "xx");
    EXPECT_FALSE(fs::exists(dir / "escape.wav"));
}

TEST_F(FsbextTest, RefusesWhatIsNotAWholeFsb3BankWritingNothing) {
    const std::string good = fsb3Bank({{"a.wav", std::string(6, 'a')}, {"b.wav", std::string(4, 'b')}});
    auto patched = [&](std::size_t offset, char byte) {
        std::string bank = good;
        bank[offset] = byte;
        return bank;
    };
    // Not FSB3, a wrong version, headers past the end, a negative or too large count, data
    // past the data size (9 < 6 + 4), a first header smaller than its fields.
    for (const std::string& bank : {patched(3, '4'), patched(16, 2), patched(8, 0x7F), patched(7, '\x80'),
                                    patched(4, 100), patched(12, 9), patched(24, 10)}) {
        EXPECT_EQ(run(bank), 2);
        expectOneErrorLine();
    }
    // Cut at every length, the bank fails cleanly each time.
    for (std::size_t length = 0; length < good.size(); ++length) {
        EXPECT_EQ(run(good.substr(0, length)), 2) << length;
        expectOneErrorLine();
    }
    // A FIFO is refused at once, not waited on.
    ASSERT_EQ(mkfifo((dir / "fifo.fsb").c_str(), 0600), 0);
    EXPECT_EQ(runWithArguments("-d '" + out().string() + "' -a '" + (dir / "fifo.fsb").string() + "'"), 2);
    expectOneErrorLine();
    EXPECT_TRUE(outputFiles().empty());
}

TEST_F(FsbextTest, ASoundNamedLikeTheBankInItsOwnFolderGetsASafeNameAndTheBankStays) {
    const std::string bank = fsb3Bank({{"voices.wav", "zz"}, {"other.wav", "yy"}});
    ASSERT_TRUE(converts(bank, "Sounds/voices.wav")) << errors;
    EXPECT_EQ(outputFiles(), (std::vector<std::string>{"other.wav", "voices.wav", "voices_0.wav"}));
    EXPECT_EQ(readFile(out() / "voices.wav"), bank);
    EXPECT_EQ(readFile(out() / "voices_0.wav"), wavHeader(1, 22050, 16, 2) + "zz");
}

TEST_F(FsbextTest, FailedWritesAndBadArgumentsExitNonZeroWithOneLine) {
    fs::create_directory(out() / "taken.wav");
    EXPECT_EQ(run(fsb3Bank({{"taken.wav", "ab"}})), 3);
    expectOneErrorLine();
    fs::remove_all(out());
    EXPECT_EQ(run(fsb3Bank({{"a.wav", "ab"}})), 3);
    expectOneErrorLine();
    EXPECT_EQ(run(fsb3Bank({}), "missing folder is fine when empty.fsb"), 0);
    for (const char* arguments : {"", "-d x -a", "-a y -d x -d z", "-x x -a y"}) {
        EXPECT_EQ(runWithArguments(arguments), 1) << arguments;
        expectOneErrorLine();
    }
    EXPECT_EQ(runWithArguments("-d '" + dir.path().string() + "' -a '" + (dir / "none.fsb").string() + "'"), 2);
    expectOneErrorLine();
}

}  // namespace
