// Archives written out byte by byte by hand, with what the mpak-dump program shows for them:
// they guard against a misreading of the layout that the test builder and the reader could
// share, and the program prints the CR LF of its sections unchanged, on every system.
#include <gtest/gtest.h>

#include "common/files.h"
#include "fixtures/example_archive.h"
#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

namespace {

struct ReferenceArchive {
    std::string bytes, dump;
};

const ReferenceArchive kReferences[] = {
    // One stored entry "a.txt" holding "hi", one group of two names.
    {std::string("MPAK\x1C\0\0\0\x14\0\0\0\x01\0\x01\0"                       // header: TOC 28, STOC 20, 1, 1
                 "TOC\0"                                                       //
                 "\x10\0\x02\0\0\0\x02\0\0\0\0\x05" "a.txt\0\x01\0\x04\0\0\0"  // 2 bytes at RAWD+4, 1 copy
                 "STOC\x05" "a.txt\0\x01\0\x05" "a.txt\0"                      // a group: followerCount 1
                 "RAWDhi",
                 70),
     "== log\nTOC = x10, 1 entries\r\nSTOC = x2C, 1 entries\r\nRAWD = x40\r\n\r\n\n"
     "== list\n00000044 00000045 00000002 00000002 00 1 a.txt\n"
     "== toc\n" + kTocIntro + "\r\n00 1 a.txt\n"
     "== stoc\n" + kStocIntro + "\r\n[2]\r\na.txt\r\na.txt\n"},
    // A compressed entry ("A" deflated) stored twice, then an entry of no copies whose offset is
    // the "STOC" tag that follows it; a group of three names.
    {std::string("MPAK\x32\0\0\0\x19\0\0\0\x02\0\x01\0"
                 "TOC\0"
                 "\x12\0\x03\0\0\0\x01\0\0\0\x01\x07" "d/x.bin\0\x02\0\x04\0\0\0\x07\0\0\0"
                 "\x0C\0\0\0\0\0\0\0\0\0\0\x01" "e\0\0\0"
                 "STOC\x07" "d/x.bin\0\x02\0\x05" "x.bin\0\x01y\0"
                 "RAWD\x73\x04\x00\x73\x04\x00",
                 101),
     "== log\nTOC = x10, 2 entries\r\nSTOC = x42, 1 entries\r\nRAWD = x5B\r\n\r\n\n"
     "== list\n0000005F 00000061 00000003 00000001 01 2 d\\x.bin\n434F54AE 434F54AD 00000000 00000000 00 0 e\n"
     "== toc\n" + kTocIntro + "\r\n01 2 d\\x.bin\r\n00 0 e\n"
     "== stoc\n" + kStocIntro + "\r\n[3]\r\nd/x.bin\r\nx.bin\r\ny\n"},
    // A failed open: its error box.
    {MpakBuilder().entry("bad", "x", MpakEntryOptions().compressed(100)).build(),
     "== error\nProcessLibrary error.\r\n\r\nThe entry bad has a compression value of 100, more than the list's two "
     "digits can show (0 to 99): the archive is damaged.\n"},
};

}  // namespace

TEST(ReferenceArchives, MpakDumpShowsTheLogListAndLibraryTextsWrittenByHandOrTheErrorBoxAndWritesNothing) {
    TempDir dir;
    const fs::path program = fs::path(VR_APP_DIR).parent_path() / "devtools" / programFile("mpak-dump");
    for (const auto& [bytes, dump] : kReferences) {
        writeFile(dir / "ref.mpak", bytes);
        const int exitCode = runShellLine(shellWord(pathText(program)) + " " + shellWord(pathText(dir / "ref.mpak")) +
                                          " >" + shellWord(pathText(dir / "out")));
        EXPECT_EQ(readFile(dir / "out"), dump);
        EXPECT_EQ(exitCode, dump.starts_with("== error") ? 1 : 0);
        fs::remove(dir / "out");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}
