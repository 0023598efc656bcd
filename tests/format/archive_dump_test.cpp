// The mpak-dump text: what opening an archive shows, as sections for scripts.
#include "format/archive_dump.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "fixtures/example_archive.h"
#include "fixtures/temp_dir.h"

namespace {

// Runs the mpak-dump program on `archive`; returns its output and sets `exitCode`.
std::string runDump(const fs::path& archive, int& exitCode) {
    fs::path program = fs::path(VR_APP_DIR).parent_path() / "devtools" / "mpak-dump";
    std::string output;
    FILE* pipe = popen(("'" + program.string() + "' '" + archive.string() + "'").c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

}  // namespace

TEST(ArchiveDump, PrintsTheLogListAndLibraryTextsOfTheExampleArchiveAndWritesNothing) {
    TempDir dir;
    writeFile(dir / "sky.mpak", skyArchive(true).build());
    std::string expected = "== log\nTOC = x10, 1 entries\r\nSTOC = x37, 1 entries\r\nRAWD = x58\r\n\r\n\n== list\n" +
                           kSkyListLine + "\n== toc\n" + kTocIntro + "\r\n01 1 textures\\sky.tga\n== stoc\n" +
                           kStocIntro + "\r\n[2]\r\ntextures/sky.tga\r\nsky.tga\n";
    int exitCode = -1;
    EXPECT_EQ(runDump(dir / "sky.mpak", exitCode), expected);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ArchiveDump, AnArchiveWithoutStocGroupsHasAnEmptyStocSection) {
    TempDir dir;
    writeFile(dir / "plain.mpak", MpakBuilder().entry("a/b", "ab").build());
    EXPECT_TRUE(dumpArchive(dir / "plain.mpak").text.ends_with("\r\n\r\n00 1 a\\b\n== stoc\n"));
}

TEST(ArchiveDump, AFailedOpenPrintsTheErrorBoxTextOnly) {
    TempDir dir;
    writeFile(dir / "bad.mpak", MpakBuilder().entry("bad", "x", MpakEntryOptions().compressed(100)).build());
    std::string expected =
        "== error\nProcessLibrary error.\r\n\r\nOverflow: the compressed byte of bad (100) does not fit the list's "
        "2-digit field.\n";
    int exitCode = -1;
    EXPECT_EQ(runDump(dir / "bad.mpak", exitCode), expected);
    EXPECT_EQ(exitCode, 1);
}
