// The mpak-dump text: what opening an archive shows, as sections for scripts.
#include "archive/archive_dump.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "fixtures/mpak_builder.h"
#include "fixtures/temp_dir.h"

namespace {

struct ProgramRun {
    std::string output;
    int exitCode;
};

ProgramRun runDump(const fs::path& archive) {
    fs::path program = fs::path(VR_APP_DIR).parent_path() / "devtools" / "mpak-dump";
    std::string command = "'" + program.string() + "' '" + archive.string() + "'";
    ProgramRun run{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(ArchiveDump, PrintsTheLogListAndLibraryTextsOfTheExampleArchive) {
    TempDir dir;
    MpakBuilder b;
    b.stocGroup({"textures/sky.tga", "sky.tga"});
    std::int32_t rawdStart = 16 + (4 + 15 + 16 + 4) + b.builtStocSize();
    b.entry("textures/sky.tga", std::string(0xA4C, '\x5A'),
            MpakEntryOptions().compressed(1).originalSize(0x2000).rawdOffset(0xE6B4 - rawdStart));
    ASSERT_EQ(b.rawdStart(), rawdStart);
    writeFile(dir / "sky.mpak", b.build());

    std::string expected =
        "== log\n"
        "TOC = x10, 1 entries\r\nSTOC = x37, 1 entries\r\nRAWD = x58\r\n\r\n\n"
        "== list\n"
        "0000E6B4 0000F0FF 00000A4C 00002000 01 1 textures\\sky.tga\n"
        "== toc\n"
        "--Comment lines start with double (--) dashes\r\n"
        "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n"
        "--Field 2: # of copies of file packed in raw data (RAWD) area. Probably also # of copies of file "
        "maintained in memory by the game.\r\n"
        "--Field 3: File path.\r\n"
        "--It is possible to add new file references to this table if you wish.\r\n"
        "--However, Vantrel Ripper will automatically add new files to the .MPAK. By default, they will be "
        "compressed (01), 1 copy.\r\n"
        "\r\n"
        "01 1 textures\\sky.tga\n"
        "== stoc\n"
        "--Comment lines start with double (--) dashes.\r\n"
        "--[x] # of files in the next group.\r\n"
        "--At least 2 file entries are always present.\r\n"
        "--1st file entry is always file path.\r\n"
        "--2nd file entry is usually file name but can be file path.\r\n"
        "--3rd file entry (if present) is usually file path.\r\n"
        "--File entries probably indicate path pointers to a common file.\r\n"
        "--It is possible to add new file references to this table if you wish, and necessary if you add new "
        "files to the game.\r\n"
        "\r\n"
        "[2]\r\ntextures/sky.tga\r\nsky.tga\n";
    ArchiveDump dump = dumpArchive(dir / "sky.mpak");
    EXPECT_TRUE(dump.opened);
    EXPECT_EQ(dump.text, expected);

    ProgramRun run = runDump(dir / "sky.mpak");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, expected);
    // It writes nothing: the folder holds the archive alone.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ArchiveDump, AnArchiveWithoutStocGroupsHasAnEmptyStocSection) {
    TempDir dir;
    writeFile(dir / "plain.mpak", MpakBuilder().entry("a/b", "ab").build());
    std::string text = dumpArchive(dir / "plain.mpak").text;
    EXPECT_NE(text.find("\n== list\n00000032 00000033 00000002 00000002 00 1 a\\b\n== toc\n"), std::string::npos)
        << text;
    EXPECT_TRUE(text.ends_with("\r\n\r\n00 1 a\\b\n== stoc\n")) << text;
}

TEST(ArchiveDump, AFailedOpenPrintsTheErrorBoxTextOnly) {
    TempDir dir;
    MpakBuilder b;
    b.entry("bad", "x", MpakEntryOptions().compressed(100));
    writeFile(dir / "bad.mpak", b.build());
    std::string expected =
        "== error\nProcessLibrary error.\r\n\r\nOverflow: the compressed byte of bad (100) does not fit the list's "
        "2-digit field.\n";
    ArchiveDump dump = dumpArchive(dir / "bad.mpak");
    EXPECT_FALSE(dump.opened);
    EXPECT_EQ(dump.text, expected);
    ProgramRun run = runDump(dir / "bad.mpak");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, expected);
}
