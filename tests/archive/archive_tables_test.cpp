// Reading an archive's header, TOC and STOC from archives built byte by byte.
#include "archive/archive_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/failure.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

struct Opened {
    ArchiveLayout layout;
    ArchiveTables tables;
};

class ArchiveTablesTest : public ::testing::Test {
protected:
    Opened open(const std::string& bytes) {
        fs::path path = dir / "test.mpak";
        writeFile(path, bytes);
        ArchiveLayout layout = readArchiveLayout(path);
        return {layout, readArchiveTables(path, layout)};
    }
    // The failure text of opening these bytes; empty when they open.
    std::string failureOf(const std::string& bytes) {
        try {
            open(bytes);
        } catch (const Failure& e) {
            return e.what();
        }
        return "";
    }
    TempDir dir;
};

}  // namespace

TEST_F(ArchiveTablesTest, ReadsEveryFieldOfEachEntryAndComputesTheChunkPositions) {
    MpakBuilder b;
    b.entry("textures/sky.tga", std::string(0x20, 'z'), MpakEntryOptions().compressed(1).originalSize(0x2000));
    b.entry("a.txt", "hello", MpakEntryOptions().copies(3));
    b.stocGroup({"textures/sky.tga", "sky.tga"});
    Opened o = open(b.build());

    EXPECT_EQ(o.layout.header.tocSize, b.builtTocSize());
    EXPECT_EQ(o.layout.header.stocSize, b.builtStocSize());
    EXPECT_EQ(o.layout.header.tocEntryCount, 2);
    EXPECT_EQ(o.layout.header.stocEntryCount, 1);
    EXPECT_EQ(o.layout.tocStart, 16);
    EXPECT_EQ(o.layout.stocStart, 16 + b.builtTocSize());
    EXPECT_EQ(o.layout.rawdStart, b.rawdStart());

    ASSERT_EQ(o.tables.entries.size(), 2u);
    const EntrySlot& sky = o.tables.entries[0];
    EXPECT_EQ(sky.entryPath, "textures\\sky.tga");
    EXPECT_EQ(sky.entryDataOffset, b.rawdStart() + 4);
    EXPECT_EQ(sky.entryStoredSize, 0x20);
    EXPECT_EQ(sky.entryOriginalSize, 0x2000);
    EXPECT_EQ(sky.entryCompressed, 1);
    EXPECT_EQ(sky.entryCopies, 1);
    const EntrySlot& a = o.tables.entries[1];
    EXPECT_EQ(a.entryPath, "a.txt");
    EXPECT_EQ(a.entryDataOffset, b.rawdStart() + 4 + 0x20);  // the first of its three copies
    EXPECT_EQ(a.entryStoredSize, 5);
    EXPECT_EQ(a.entryCopies, 3);
    ASSERT_EQ(o.tables.stocGroups.size(), 1u);
    EXPECT_EQ(o.tables.stocGroups[0].names, (Names{"textures/sky.tga", "sky.tga"}));
    EXPECT_EQ(o.tables.stocGroups[0].size, 2);
    EXPECT_TRUE(o.tables.stocGroups[0].complete);
}

TEST_F(ArchiveTablesTest, NamesAreBytesAndUpTo255Long) {
    std::string longName = std::string(250, 'n') + "/\xE9\x01z.";
    ASSERT_EQ(longName.size(), 255u);
    MpakBuilder b;
    b.entry(longName, "x");
    b.stocGroup({longName, std::string("\xFF/b", 3)});
    Opened o = open(b.build());
    EXPECT_EQ(o.tables.entries.at(0).entryPath, std::string(250, 'n') + "\\\xE9\x01z.");
    EXPECT_EQ(o.tables.stocGroups.at(0).names, (Names{longName, std::string("\xFF/b", 3)}));
}

TEST_F(ArchiveTablesTest, AnEntryWithoutCopiesTakesTheFollowingFourBytesAsItsOffset) {
    MpakBuilder b;
    b.entry("none", "", MpakEntryOptions().copies(0));
    b.entry("next", "data");
    Opened o = open(b.build());
    ASSERT_EQ(o.tables.entries.size(), 2u);
    // The four bytes after copies are the next entry's entryLength (4 + 11) and storedSize's low half.
    std::int32_t following = 15 | (4 << 16);
    EXPECT_EQ(o.tables.entries[0].entryCopies, 0);
    EXPECT_EQ(o.tables.entries[0].entryDataOffset, b.rawdStart() + following);
    EXPECT_EQ(o.tables.entries[1].entryPath, "next");
    EXPECT_EQ(o.tables.entries[1].entryDataOffset, b.rawdStart() + 4);
}

TEST_F(ArchiveTablesTest, CopiesUpTo8191AreReadAndMoreOverflowTheSixteenBitLength) {
    MpakBuilder ok;
    ok.entry("many", "d", MpakEntryOptions().copies(8191));
    EXPECT_EQ(open(ok.build()).tables.entries.at(0).entryCopies, 8191);

    MpakBuilder tooMany;
    tooMany.entry("many", "d", MpakEntryOptions().copies(8192));
    EXPECT_EQ(failureOf(tooMany.build()),
              "Overflow: TOC entry 1 at offset 0x14 has 8192 copies; their offsets (4 bytes each) do not fit a "
              "signed 16-bit length.");
}

TEST_F(ArchiveTablesTest, EmptyArchiveAndCountsOf0x8000OrMoreGiveNoEntriesOrGroups) {
    Opened empty = open(MpakBuilder().build());
    EXPECT_EQ(empty.layout.header.tocSize, 4);
    EXPECT_EQ(empty.layout.header.stocSize, 4);
    EXPECT_TRUE(empty.tables.entries.empty());
    EXPECT_TRUE(empty.tables.stocGroups.empty());

    MpakBuilder negative;
    negative.entry("a", "x").stocGroup({"a", "b"});
    negative.tocEntryCount = static_cast<std::int16_t>(0x8000);
    negative.stocEntryCount = static_cast<std::int16_t>(0xFFFF);
    Opened o = open(negative.build());
    EXPECT_EQ(o.layout.header.tocEntryCount, -32768);
    EXPECT_EQ(o.layout.header.stocEntryCount, -1);
    EXPECT_TRUE(o.tables.entries.empty());
    EXPECT_TRUE(o.tables.stocGroups.empty());
}

TEST_F(ArchiveTablesTest, TheTableHolds10001EntriesAndNoMore) {
    MpakBuilder b;
    for (int i = 0; i < 10001; ++i) b.entry("f" + std::to_string(i), "");
    std::string full = b.build();
    EXPECT_EQ(open(full).tables.entries.size(), 10001u);
    b.entry("one more", "");
    EXPECT_EQ(failureOf(b.build()), "The TOC lists 10002 entries; at most 10001 can be loaded.");
}

TEST_F(ArchiveTablesTest, StocGroupsOfOneOpenersWithoutFollowersAndHighFollowerCounts) {
    MpakBuilder b;
    b.stocRecord("single");      // a group of one on its own
    b.stocRecord("opener", 0);   // opens a group that never completes...
    b.stocRecord("after-zero");  // ...so this is a group of one
    // A followerCount of 256 has a high byte of 1: the record reads as a plain one, and the
    // next record starts at the count's low byte, a zero name length.
    b.stocRecord("big", 256);
    b.stocRecord("open", 2).stocRecord("f1").stocRecord("f2");
    b.stocEntryCount = 5;
    Opened o = open(b.build());
    const auto& g = o.tables.stocGroups;
    ASSERT_EQ(g.size(), 6u);
    EXPECT_EQ(g[0].names, (Names{"single"}));
    EXPECT_EQ(g[0].size, 1);
    EXPECT_TRUE(g[0].complete);
    EXPECT_EQ(g[1].names, (Names{"opener"}));
    EXPECT_EQ(g[1].size, 1);
    EXPECT_FALSE(g[1].complete);
    EXPECT_EQ(g[2].names, (Names{"after-zero"}));
    EXPECT_TRUE(g[2].complete);
    EXPECT_EQ(g[3].names, (Names{"big"}));
    EXPECT_EQ(g[4].names, (Names{""}));
    EXPECT_EQ(g[5].names, (Names{"open", "f1", "f2"}));
    EXPECT_EQ(g[5].size, 3);
    EXPECT_TRUE(g[5].complete);
}

TEST_F(ArchiveTablesTest, TheWalkStopsAtTheDeclaredGroupCount) {
    MpakBuilder b;
    b.stocGroup({"a", "b"}).stocGroup({"c", "d", "e"}).stocGroup({"f", "g"});
    b.stocEntryCount = 2;
    Opened o = open(b.build());
    ASSERT_EQ(o.tables.stocGroups.size(), 2u);
    EXPECT_EQ(o.tables.stocGroups[1].names, (Names{"c", "d", "e"}));
}

TEST_F(ArchiveTablesTest, DamagedHeadersFailWithWhatIsWrongAndWhere) {
    using ::testing::HasSubstr;
    EXPECT_THAT(failureOf("MPAK\x04"), HasSubstr("is 5 bytes long, too short for the 16-byte MPAK header."));

    MpakBuilder shortToc;
    shortToc.tocSize = 2;
    EXPECT_EQ(failureOf(shortToc.build()),
              "The header gives the TOC chunk 2 bytes and the STOC chunk 4 bytes; each chunk holds at least its "
              "4-byte tag.");

    MpakBuilder pastEnd;
    pastEnd.entry("a", "data");
    pastEnd.stocSize = 0x1000;
    EXPECT_THAT(failureOf(pastEnd.build()), HasSubstr("The RAWD chunk at offset 0x1028 lies past the end of '"));
    EXPECT_THAT(failureOf(pastEnd.build()), HasSubstr("' (52 bytes): the file is cut short or its header is damaged."));

    MpakBuilder overflow;
    overflow.tocSize = 0x7FFFFFF0;
    EXPECT_EQ(failureOf(overflow.build()),
              "Overflow: the STOC position (TOC size + 16) (2147483648) does not fit a signed 32-bit field.");
}

TEST_F(ArchiveTablesTest, RecordsAndDataPastTheirBoundsFailWithTheirOffset) {
    MpakBuilder extraEntry;
    extraEntry.entry("a", "data");
    extraEntry.tocEntryCount = 2;  // the second "entry" would start at the STOC tag and run into RAWD
    EXPECT_EQ(failureOf(extraEntry.build()),
              "The TOC entry 2 at offset 0x28 runs past the end of the archive's tables (offset 0x30, the end of "
              "the RAWD tag).");

    MpakBuilder longName;
    longName.entry("a", "data", MpakEntryOptions().nameLength(200));
    EXPECT_EQ(failureOf(longName.build()),
              "The TOC entry 1 at offset 0x14 runs past the end of the archive's tables (offset 0x30, the end of "
              "the RAWD tag).");

    MpakBuilder extraGroup;
    extraGroup.stocGroup({"a", "b"});
    extraGroup.stocEntryCount = 2;
    EXPECT_EQ(failureOf(extraGroup.build()),
              "The STOC record 3 at offset 0x20 runs past the end of the archive's tables (offset 0x24, the end "
              "of the RAWD tag).");

    MpakBuilder bigData;
    bigData.entry("dir/a", "data", MpakEntryOptions().storedSize(5));
    EXPECT_EQ(failureOf(bigData.build()),
              "The data of TOC entry 1 (dir\\a), 5 bytes at offset 0x34, runs past the end of the file (56 bytes).");

    MpakBuilder negativeOffset;
    negativeOffset.entry("a", "data", MpakEntryOptions().copyOffsets({-0x40}));
    EXPECT_EQ(failureOf(negativeOffset.build()),
              "The data of TOC entry 1 (a), 4 bytes at offset -0x14, runs past the end of the file (52 bytes).");
}

TEST_F(ArchiveTablesTest, AnArchiveCutAtAnyLengthFailsCleanly) {
    MpakBuilder b;
    // Only the first copy is read, so the data that ends the file is a single copy.
    b.entry("two/copies.bin", "xyz", MpakEntryOptions().copies(2));
    b.entry("textures/sky.tga", "compressed bytes", MpakEntryOptions().compressed(1).originalSize(100));
    b.stocGroup({"textures/sky.tga", "sky.tga"}).stocGroup({"two/copies.bin", "copies.bin", "x/copies.bin"});
    std::string whole = b.build();
    ASSERT_EQ(failureOf(whole), "");
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_NE(failureOf(whole.substr(0, length)), "") << "cut at " << length;
}
