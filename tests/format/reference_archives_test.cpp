// Archives written out byte by byte by hand, with what opening them must show: they guard
// against a misreading of the layout that the test builder and the reader could share.
#include <gtest/gtest.h>

#include "fixtures/example_archive.h"
#include "fixtures/temp_dir.h"
#include "format/archive_dump.h"

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
};

}  // namespace

TEST(ReferenceArchives, OpenWithTheirLogListAndLibraryTextsAsWrittenByHand) {
    TempDir dir;
    for (const ReferenceArchive& reference : kReferences) {
        writeFile(dir / "ref.mpak", reference.bytes);
        EXPECT_EQ(dumpArchive(dir / "ref.mpak").text, reference.dump);
    }
}
