// zlibc and fsbext run as programs: zlibc's streams checked against zlib, fsbext's sounds against
// banks and WAV files written out field by field. A failure exits non-zero with one line on
// standard error and leaves every file as it was.

#include <libdeflate.h>

#include "fixtures/app_folder.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/zlib_reference.h"
#include "shell/app_paths.h"
#include "shell/compression_tool.h"
#include "shell/tool_runner.h"
#include "tools/fsb3_bank_builder.h"

using Args = std::vector<std::string>;
constexpr std::uint32_t k8Bits = 0x08, k16Bits = 0x10, kMono = 0x20, kStereo = 0x40, kUnsigned = 0x80;

// A WAV file written out field by field.
static std::string wav(std::uint64_t channels, std::uint64_t rate, std::uint64_t bits, const std::string& data) {
    const std::uint64_t align = channels * bits / 8, pad = data.size() % 2;
    return "RIFF" + le(36 + data.size() + pad, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(channels, 2) + le(rate, 4) +
           le(rate * align, 4) + le(align, 2) + le(bits, 2) + "data" + le(data.size(), 4) + data +
           std::string(pad, '\0');
}

class HelperProgram : public AppFolderTest {
protected:
    HelperProgram() { installHelpers(); }

    // The helper run with each argument quoted: its exit code, a blank, and what it wrote to
    // standard error.
    std::string run(const char* helper, const Args& arguments) {
        std::string line = quoteProgramPath(pathText(app / programFile(helper))), errors;
        for (const std::string& argument : arguments) line += " " + quoteArgument(argument);
        const int exitCode = runAndWait(line, &errors);
        return std::to_string(exitCode) + " " + errors;
    }
    std::string fsbext(const fs::path& bank, const std::string& folder = "") {
        return run("fsbext", {"-d", folder.empty() ? pathText(form.soundsPath) : folder, "-a", pathText(bank)});
    }
    std::string temp(const char* name) const { return pathText(form.tempPath / name); }
};

// A failure: the exit code, then one line from the helper.
static void expectFailure(const std::string& result, const std::string& start) {
    EXPECT_TRUE(result.starts_with(start) && result.find('\n') == result.size() - 1) << result;
}

TEST_F(HelperProgram, ZlibcFailsWithOneLineAndKeepsTheEarlierOutputOnBadStreamsBadFilesAndAFullDisk) {
    const std::string good = "\x78\x9C" + rawDeflate(awkwardBytes(100000, 5)) + std::string(4, '\0');
    writeFile(form.tempPath / "earlier", "kept");
    fs::create_directory(form.tempPath / "folder");
    for (const std::string& bad :
         {std::string("\x78\x9C\x07\x00\x00\x00\x00\x00", 8),  // a reserved block type
          "\x78\x9C" + std::string(100, '\xFF') + std::string(4, '\0'), std::string(), good.substr(0, 2),
          good.substr(0, good.size() - 4), good.substr(0, good.size() - 2), good.substr(0, good.size() / 2)}) {
        writeFile(form.tempPath / "in", bad);
        expectFailure(run("zlibc", {"-d", temp("in"), temp("earlier")}), "1 zlibc: ");
    }
    writeFile(form.tempPath / "in", awkwardBytes(100000, 5));
    for (auto [in, out] :
         {std::pair{"missing", "earlier"}, {"folder", "earlier"}, {"in", "no such folder/out"}, {"in", "folder"}})
        expectFailure(run("zlibc", {"-k", temp(in), temp(out)}), "1 zlibc: ");
    for (const Args& arguments : {Args{}, Args{"-d", "a"}, Args{"-x", "a", "b"}, Args{"-d", "a", "b", "c"}})
        EXPECT_EQ(run("zlibc", arguments), "2 zlibc: usage: zlibc -d IN OUT (inflate) or zlibc -k IN OUT (deflate)\n");
    const Files kept = {{"earlier", "kept"}, {"in", awkwardBytes(100000, 5)}};
    EXPECT_EQ(filesBelow(form.tempPath), kept);

    POSIX_ONLY("a FIFO and a file-size limit");
    ASSERT_EQ(mkfifo(temp("fifo").c_str(), 0600), 0);
    expectFailure(run("zlibc", {"-k", temp("fifo"), temp("earlier")}), "1 zlibc: ");  // refused without waiting
    {
        FileSizeLimit fullDisk(100);
        EXPECT_EQ(run("zlibc", {"-k", temp("in"), temp("earlier")}),
                  "1 zlibc: cannot write '" + temp("earlier") + "': File too large\n");
    }
    EXPECT_EQ(filesBelow(form.tempPath), kept);
    // Temporary files that earlier runs left in OUT's folder are passed over, never replaced.
    for (int n = 0; n <= 10; ++n) writeFile(form.tempPath / (".zlibc-" + std::to_string(n) + ".tmp"), "left");
    EXPECT_EQ(run("zlibc", {"-k", temp("in"), temp("earlier")}), "0 ");
    EXPECT_EQ(readFile(form.tempPath / ".zlibc-10.tmp"), "left");
    EXPECT_EQ(filesBelow(form.tempPath).size(), kept.size() + 11);
}

TEST_F(HelperProgram, ZlibcCommandLinesRunTheZlibcNamedFromAFolderWithBlanksOnNamesWithQuotesAndBackslashes) {
    writeFile(app / "my", "#!/bin/sh\nexit 9\n");  // a shorter prefix of the path that could pass for the program
    fs::permissions(app / "my", fs::perms::owner_all);
    fs::create_directory(app / "my tools");
    fs::copy_file(app / programFile("zlibc"), app / "my tools" / programFile("zlibc"));
    const fs::path blanks = app / "my tools";
#ifdef _WIN32
    // Windows names hold no '"' and end in no '\'; letters beyond any one code page instead.
    const fs::path folder = app.path() / u8"out Жé", in = folder / u8"a ☃ name", out = folder / u8"x ü.cmp";
#else
    const fs::path folder = app / "out \" \"", in = folder / "a \\\"quoted\" name\\", out = folder / "x.cmp\\";
    // The unquoted form, which our command lines never use, runs the shortest prefix naming a program.
    EXPECT_EQ(runAndWait(pathText(app / "my tools" / "zlibc") + " -d a b"), 9);
#endif
    writeFile(in, awkwardBytes(5000, 5));
    EXPECT_EQ(runAndWait(zlibcCommand(helperProgramPath(blanks, "zlibc"), {false, in, out})), 0);
    const std::string stream = readFile(out);  // a zlib header, raw DEFLATE, a 4-byte trailer
    ASSERT_GT(stream.size(), 6u);
    EXPECT_TRUE(inflateRaw(stream.substr(2, stream.size() - 6), 5000) == awkwardBytes(5000, 5));
    fs::remove(in);
    EXPECT_EQ(runAndWait(zlibcCommand(helperProgramPath(blanks, "zlibc"), {true, out, in})), 0);
    EXPECT_TRUE(readFile(in) == awkwardBytes(5000, 5));
    // Small and large inputs take different code in zlibc, yet both give libdeflate's own bytes.
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    for (std::size_t size : {5000u, 100000u}) {
        std::string data = awkwardBytes(size, 6), stream(libdeflate_zlib_compress_bound(compressor, size), '\0');
        stream.resize(libdeflate_zlib_compress(compressor, data.data(), size, stream.data(), stream.size()));
        writeFile(in, data);
        EXPECT_EQ(runAndWait(zlibcCommand(helperProgramPath(blanks, "zlibc"), {false, in, out})), 0);
        EXPECT_TRUE(readFile(out) == stream) << size;
    }
    libdeflate_free_compressor(compressor);
}

TEST_F(HelperProgram, FsbextWritesPcmAsWavFilesOtherSamplesAsTheirBytesAndBasicHeadersTakeTheFirstsFormat) {
    const std::string mono("\x01\x02\xFF\x7F\x00\x80", 6), stereo("\x10\x00\x20\x00\x30\x00\x40\x00", 8);
    const std::string eightBits("\x00\x7F\x80\xFF", 4), flipped("\x80\xFF\x00\x7F", 4);  // WAV holds 8 bits unsigned
    std::string large = awkwardBytes((3 << 20) + 1, 7), largeFlipped = large;            // copied in pieces of 1 MiB
    for (char& c : largeFlipped) c = static_cast<char>(c ^ 0x80);
    const std::pair<TestSample, std::string> sounds[] = {
        {{"mono.wav", mono, k16Bits | kMono, 22050, 1}, wav(1, 22050, 16, mono)},
        {{"stereo.wav", stereo, k16Bits | kStereo, 44100, 2}, wav(2, 44100, 16, stereo)},
        {{"signed.wav", eightBits.substr(0, 3), k8Bits | kMono, 11025}, wav(1, 11025, 8, flipped.substr(0, 3))},
        {{"unsigned.wav", eightBits, k8Bits | kMono | kUnsigned, 8000}, wav(1, 8000, 8, eightBits)},
        {{"large.wav", large, k8Bits | kMono, 8000}, wav(1, 8000, 8, largeFlipped)},
        {{"adpcm.wav", "adpcm bytes", k16Bits | kMono | 0x400000}, "adpcm bytes"},  // IMA ADPCM
        {{"no_pcm_flag.bin", "odd", kMono}, "odd"},
        {{"no_rate.wav", "ab", k16Bits | kMono, 0}, "ab"}};
    std::vector<TestSample> samples;
    Files expected;
    for (const auto& [sample, file] : sounds) samples.push_back(sample), expected[sample.name] = file;
    writeFile(app / "bank.fsb", fsb3Bank(samples));
    EXPECT_EQ(fsbext(app / "bank.fsb"), "0 ");
    EXPECT_EQ(filesBelow(form.soundsPath), expected);
    writeFile(app / "basic.fsb",
              fsb3Bank({{"first.wav", "\x01\x02", k16Bits | kMono, 32000}, {"", "\x03\x04"}}, 0x30000, 2));
    EXPECT_EQ(fsbext(app / "basic.fsb"), "0 ");
    EXPECT_EQ(readFile(form.soundsPath / "basic_1.wav"), wav(1, 32000, 16, "\x03\x04"));
}

TEST_F(HelperProgram, FsbextGivesUnsafeRepeatedOrTheBanksOwnNamesASafeNameAndReplacesEarlierSoundsWhole) {
    writeFile(form.soundsPath / "same.wav", "an earlier, longer conversion");
    std::vector<TestSample> samples;
    for (const char* name :
         {"../escape.wav", "a\\b.wav", "C:drive.wav", "", "..", "same.wav", "SAME.wav", "voices_7.wav"})
        samples.push_back({name, "xx", kMono});
    samples.push_back({"same.wav", "yy"});
    samples.push_back({"voices.wav", "zz"});  // the bank's own name in its own folder
    const std::string bank = fsb3Bank(samples, 0x30001);
    writeFile(form.soundsPath / "voices.wav", bank);
    EXPECT_EQ(fsbext(form.soundsPath / "voices.wav"), "0 ");
    Files expected = {
        {"voices.wav", bank}, {"voices_8.wav", wav(1, 22050, 16, "yy")}, {"voices_9.wav", wav(1, 22050, 16, "zz")}};
    for (const char* name : {"same.wav", "voices_0.raw", "voices_1.raw", "voices_2.raw", "voices_3.raw", "voices_4.raw",
                             "voices_6.raw", "voices_7.wav"})
        expected[name] = "xx";
    EXPECT_EQ(filesBelow(form.soundsPath), expected);
    EXPECT_FALSE(fs::exists(app / "escape.wav"));
}

TEST_F(HelperProgram, FsbextRefusesWhatIsNotAWholeFsb3BankInARegularFileWritingNothing) {
    const std::string good = fsb3Bank({{"a.wav", std::string(6, 'a')}, {"b.wav", std::string(4, 'b')}});
    auto patched = [&](std::size_t at, char byte) { return good.substr(0, at) + byte + good.substr(at + 1); };
    // Not FSB3, a wrong version, headers past the end, a negative or too large count, data past
    // the data size (9 < 6 + 4), a first header smaller than its fields; then cut at every length.
    std::vector<std::string> banks = {patched(3, '4'), patched(16, 2), patched(8, 0x7F), patched(7, '\x80'),
                                      patched(4, 100), patched(12, 9), patched(24, 10)};
    for (std::size_t length = 0; length < good.size(); ++length) banks.push_back(good.substr(0, length));
    for (const std::string& bank : banks) {
        writeFile(app / "bad.fsb", bank);
        expectFailure(fsbext(app / "bad.fsb"), "2 fsbext: ");
    }
    expectFailure(fsbext(app / "none.fsb"), "2 fsbext: ");
    EXPECT_TRUE(fs::is_empty(form.soundsPath));
    writeFile(app / "good.fsb", good);
    fs::create_directory(form.soundsPath / "a.wav");  // a folder where a sound goes
    expectFailure(fsbext(app / "good.fsb"), "3 fsbext: ");
    expectFailure(fsbext(app / "good.fsb", pathText(app / "no such folder")), "3 fsbext: ");
    for (const Args& arguments :
         {Args{}, Args{"-d", "x", "-a"}, Args{"-a", "y", "-d", "x", "-d", "z"}, Args{"-x", "x", "-a", "y"}})
        expectFailure(run("fsbext", arguments), "1 fsbext: ");

    POSIX_ONLY("a FIFO");
    ASSERT_EQ(mkfifo(pathText(app / "fifo.fsb").c_str(), 0600), 0);
    expectFailure(fsbext(app / "fifo.fsb"), "2 fsbext: ");  // refused at once, not waited on
    EXPECT_TRUE(fs::is_empty(form.soundsPath / "a.wav"));
}
