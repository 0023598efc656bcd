// Our zlibc run as a program through the tool runner, its streams checked against Python's
// zlib module; failures must exit non-zero with one line on stderr and leave no output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/compression_tool.h"
#include "shell/form.h"
#include "shell/tool_runner.h"

namespace {

// The whole file in one read: the tests read back files of 64 MiB.
std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(fs::file_size(path), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

struct ToolRun {
    int exitCode;
    std::string errorText;
};

// Runs a command line with our stderr sent to a file; the child inherits it.
ToolRun runCapturingErrors(const std::string& commandLine, const fs::path& errorFile) {
    std::string errors;
    int exitCode = runAndWait(commandLine, &errors);
    writeFile(errorFile, errors);
    return {exitCode, errors};
}

// Python's zlib, independent of ours: inflates IN, or deflates it with a zero Adler-32 field
// as extraction writes them.
int python(const char* transform, const fs::path& in, const fs::path& out) {
    return runAndWait("/usr/bin/python3 -c " +
                      quoteArgument(std::string("import sys, zlib\ndata = open(sys.argv[1], 'rb').read()\n") +
                                    "open(sys.argv[2], 'wb').write(" + transform + ")") +
                      " " + quoteArgument(in.string()) + " " + quoteArgument(out.string()));
}
const char* const kInflate = "zlib.decompress(data)";
const char* const kDeflateWithZeroTrailer = "zlib.compress(data)[:-4] + bytes(4)";

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

std::string text(std::size_t size) {
    std::string lines;
    for (int line = 0; lines.size() < size; ++line)
        lines += "textures\\level" + std::to_string(line % 97) + "\\wall_" + std::to_string(line) + ".dds 0 1\r\n";
    lines.resize(size);
    return lines;
}

class Zlibc : public ::testing::Test {
protected:
    RecordingWindow window;
    Form form{window, VR_APP_DIR};
    TempDir dir;

    ToolRun inflate(const fs::path& in, const fs::path& out) {
        return runCapturingErrors(zlibcInflateCommand(form, in, out), dir / "stderr.txt");
    }
    ToolRun deflate(const fs::path& in, const fs::path& out) {
        return runCapturingErrors(zlibcDeflateCommand(form, in, out), dir / "stderr.txt");
    }
    // Every file of the folder but the captured stderr.
    std::vector<std::string> filesLeft() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path().filename() != "stderr.txt") names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // -k, then -d of that output with its Adler-32 zeroed, and Python's inflate of the -k output.
    void expectRoundTrip(const std::string& data) {
        writeFile(dir / "in", data);
        ASSERT_EQ(deflate(dir / "in", dir / "in.z").exitCode, 0);
        std::string stream = readAll(dir / "in.z");
        ASSERT_GE(stream.size(), 6u);
        EXPECT_EQ(python(kInflate, dir / "in.z", dir / "by-python"), 0);
        EXPECT_TRUE(readAll(dir / "by-python") == data);

        stream.replace(stream.size() - 4, 4, std::string(4, '\0'));
        writeFile(dir / "in.gz", stream);
        ASSERT_EQ(inflate(dir / "in.gz", dir / "out").exitCode, 0);
        EXPECT_TRUE(readAll(dir / "out") == data);
        EXPECT_EQ(filesLeft(), std::vector<std::string>({"by-python", "in", "in.gz", "in.z", "out"}));
    }
};

}  // namespace

TEST_F(Zlibc, RoundTripsEmptyOneByteRandomTextAnd64MiBInputs) {
    for (const std::string& data : {std::string(), std::string("x"), randomBytes(100000, 1), text(300000),
                                    randomBytes(32u << 20, 2) + text(32u << 20)}) {
        SCOPED_TRACE(data.size());
        expectRoundTrip(data);
    }
}

TEST_F(Zlibc, InflatesAnotherDeflatersZeroTrailerStreamAndRefusesItCorruptOrTruncated) {
    const std::string data = text(1 << 20) + randomBytes(5000, 3);
    writeFile(dir / "data", data);
    ASSERT_EQ(python(kDeflateWithZeroTrailer, dir / "data", dir / "bad.gz"), 0);
    const std::string good = readAll(dir / "bad.gz");
    writeFile(dir / "data", "an earlier, longer file that the output replaces whole");
    ToolRun run = inflate(dir / "bad.gz", dir / "data");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errorText, "");
    EXPECT_TRUE(readAll(dir / "data") == data);
    fs::remove(dir / "data");

    const std::pair<std::string, std::string> inputs[] = {
        {"reserved block type", std::string("\x78\x9C\x07\x00\x00\x00\x00\x00", 8)},
        {"garbage", "\x78\x9C" + std::string(100, '\xFF') + std::string(4, '\0')},
        {"empty", ""},
        {"header only", good.substr(0, 2)},
        {"missing trailer", good.substr(0, good.size() - 4)},
        {"half a trailer", good.substr(0, good.size() - 2)},
        {"cut in the middle", good.substr(0, good.size() / 2)},
    };
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        writeFile(dir / "bad.gz", bytes);
        run = inflate(dir / "bad.gz", dir / "out");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errorText.rfind("zlibc: ", 0), 0u) << run.errorText;
        EXPECT_EQ(std::count(run.errorText.begin(), run.errorText.end(), '\n'), 1) << run.errorText;
        EXPECT_EQ(filesLeft(), std::vector<std::string>({"bad.gz"}));
    }
}

TEST_F(Zlibc, UnreadableInputOrUnwritableOutputFailsAndKeepsAnEarlierOutput) {
    writeFile(dir / "earlier", "kept");
    fs::create_directory(dir / "folder");
    writeFile(dir / "in", "data");
    ToolRun missing = deflate(dir / "missing", dir / "earlier");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.errorText,
              "zlibc: cannot read '" + (dir / "missing").string() + "': No such file or directory\n");
    // A folder is neither read as input nor replaced as output.
    for (const auto& [in, out] :
         {std::pair(dir / "folder", dir / "earlier"), std::pair(dir / "in", dir / "no such folder" / "out"),
          std::pair(dir / "in", dir / "folder")})
        EXPECT_EQ(deflate(in, out).exitCode, 1) << in << " " << out;
    EXPECT_EQ(readAll(dir / "earlier"), "kept");
    EXPECT_EQ(filesLeft(), std::vector<std::string>({"earlier", "folder", "in"}));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
}

TEST_F(Zlibc, AWriteThatFailsPartWayLeavesNoOutput) {
    // A file-size limit of one 512-byte block makes the write fail as a full disk would.
    writeFile(dir / "in", randomBytes(100000, 4));
    std::string line = "/bin/sh -c " + quoteArgument("trap '' XFSZ; ulimit -f 1; exec \"$@\"") + " sh " +
                       quoteArgument((fs::path(VR_APP_DIR) / "zlibc").string()) + " -k " +
                       quoteArgument((dir / "in").string()) + " " + quoteArgument((dir / "out").string());
    ToolRun run = runCapturingErrors(line, dir / "stderr.txt");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errorText, "zlibc: cannot write '" + (dir / "out").string() + "': File too large\n");
    EXPECT_EQ(filesLeft(), std::vector<std::string>({"in"}));
}

TEST_F(Zlibc, BadArgumentsExitTwoWithAUsageLine) {
    std::string zlibc = (fs::path(VR_APP_DIR) / "zlibc").string();
    for (std::string arguments : {"", " -d a", " -x a b", " -d a b c"}) {
        ToolRun run = runCapturingErrors(zlibc + arguments, dir / "stderr.txt");
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.errorText, "zlibc: usage: zlibc -d IN OUT (inflate) or zlibc -k IN OUT (deflate)\n");
    }
}

TEST_F(Zlibc, RunsFromAnApplicationFolderWithBlanksOnNamesWithQuotesAndBackslashes) {
    fs::path app = dir / "my tools" / "Vantrel Ripper";
    fs::create_directories(app);
    fs::copy_file(fs::path(VR_APP_DIR) / "zlibc", app / "zlibc");
    Form appForm(window, app);
    fs::path in = dir / "a \"quoted\" name\\";
    fs::path out = dir / "out \" \"" / "x.cmp\\";
    writeFile(in, text(5000));
    fs::create_directories(out.parent_path());

    EXPECT_EQ(RunAndWait(appForm, zlibcDeflateCommand(appForm, in, out)), 0);
    EXPECT_EQ(appForm.toolExitCode, 0);
    EXPECT_EQ(RunAndWait(appForm, zlibcInflateCommand(appForm, out, dir / "back")), 0);
    EXPECT_EQ(readAll(dir / "back"), text(5000));
}
