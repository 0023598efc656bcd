// Reading an archive's header, TOC and STOC from archives built byte by byte: widths, odd
// records and damaged files.
#include "format/archive_tables.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

class ArchiveTablesTest : public ::testing::Test {
protected:
    ArchiveTables open(const std::string& bytes) {
        writeFile(dir / "test.mpak", bytes);
        layout = readArchiveLayout(dir / "test.mpak");
        return readArchiveTables(dir / "test.mpak", layout);
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
    ArchiveLayout layout;
};

}  // namespace

TEST_F(ArchiveTablesTest, NamesAreBytesAndUpTo255Long) {
    std::string longName = std::string(250, 'n') + "/\xE9\x01z.";
    ASSERT_EQ(longName.size(), 255u);
    MpakBuilder b;
    b.entry(longName, "x").stocGroup({longName, std::string("\xFF/b", 3)});
    ArchiveTables t = open(b.build());
    EXPECT_EQ(t.entries.at(0).entryPath, std::string(250, 'n') + "\\\xE9\x01z.");
    EXPECT_EQ(t.stocGroups.at(0).names, (Names{longName, std::string("\xFF/b", 3)}));
}

TEST_F(ArchiveTablesTest, CopiesUpTo8191AreReadAndMoreOverflowTheSixteenBitLength) {
    EXPECT_EQ(open(MpakBuilder().entry("many", "d", MpakEntryOptions().copies(8191)).build()).entries.at(0).entryCopies,
              8191);
    EXPECT_EQ(failureOf(MpakBuilder().entry("many", "d", MpakEntryOptions().copies(8192)).build()),
              "Overflow: TOC entry 1 at offset 0x14 has 8192 copies; their offsets (4 bytes each) do not fit a "
              "signed 16-bit length.");
}

TEST_F(ArchiveTablesTest, CountsOf0x8000OrMoreAreNegativeAndGiveNoEntriesOrGroups) {
    MpakBuilder b;
    b.entry("a", "x").stocGroup({"a", "b"});
    b.tocEntryCount = static_cast<std::int16_t>(0x8000);
    b.stocEntryCount = static_cast<std::int16_t>(0xFFFF);
    ArchiveTables t = open(b.build());
    EXPECT_EQ(layout.header.tocEntryCount, -32768);
    EXPECT_EQ(layout.header.stocEntryCount, -1);
    EXPECT_TRUE(t.entries.empty());
    EXPECT_TRUE(t.stocGroups.empty());
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
    b.stocGroup({"beyond", "the count"});
    b.stocEntryCount = 5;  // the walk stops here, before "beyond"
    std::vector<Names> names;
    std::vector<int> complete;
    for (const StocGroup& g : open(b.build()).stocGroups) {
        names.push_back(g.names);
        complete.push_back(g.complete);
    }
    EXPECT_EQ(names, (std::vector<Names>{{"single"}, {"opener"}, {"after-zero"}, {"big"}, {""}, {"open", "f1", "f2"}}));
    EXPECT_EQ(complete, (std::vector<int>{1, 0, 1, 1, 1, 1}));
}

TEST_F(ArchiveTablesTest, DamagedTablesFailWithWhatIsWrongAndWhere) {
    auto damaged = [](auto change) {
        MpakBuilder b;
        change(b);
        return b.build();
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {damaged([](MpakBuilder& b) { b.tocSize = 2; }),
         "The header gives the TOC chunk 2 bytes and the STOC chunk 4 bytes; each chunk holds at least its 4-byte "
         "tag."},
        {damaged([](MpakBuilder& b) { b.tocSize = 0x7FFFFFF0; }),
         "Overflow: the STOC position (TOC size + 16) (2147483648) does not fit a signed 32-bit field."},
        // The second "entry" would start at the STOC tag and run into RAWD.
        {damaged([](MpakBuilder& b) { b.entry("a", "data").tocEntryCount = 2; }),
         "The TOC entry 2 at offset 0x28 runs past the end of the archive's tables (offset 0x30): the archive is "
         "damaged or cut short."},
        {damaged([](MpakBuilder& b) { b.entry("a", "data", MpakEntryOptions().nameLength(200)); }),
         "The TOC entry 1 at offset 0x14 runs past the end of the archive's tables (offset 0x30): the archive is "
         "damaged or cut short."},
    };
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(failureOf(bytes), expected);
    }
    EXPECT_NE(failureOf("MPAK\x04").find("is 5 bytes long, too short for the 16-byte MPAK header."), std::string::npos);
}

TEST_F(ArchiveTablesTest, EntryDataIsNotCheckedSoMisplacedOrMissingDataStillLists) {
    MpakBuilder b;
    b.entry("cut", "data", MpakEntryOptions().storedSize(5));
    b.entry("before", "data", MpakEntryOptions().copyOffsets({-0x40}));
    b.entry("far", "data").stocSize = 0x1000;  // RAWD lies past the end of the file
    ArchiveTables t = open(b.build());
    EXPECT_EQ(t.entries.size(), 3u);
    EXPECT_EQ(t.entries[1].entryDataOffset, layout.rawdStart - 0x40);
}

TEST_F(ArchiveTablesTest, AStocChunkHoldingFewerGroupsThanTheHeaderGivesThoseItHolds) {
    MpakBuilder b;
    b.stocGroup({"a", "b"}).stocRecord("open", 2).stocRecord("f1");
    b.stocEntryCount = 3;
    ArchiveTables t = open(b.build());
    ASSERT_EQ(t.stocGroups.size(), 2u);
    EXPECT_EQ(t.stocGroups[1].names, (Names{"open", "f1"}));
    EXPECT_FALSE(t.stocGroups[1].complete);
    EXPECT_EQ(t.stocGroupsCompleted, 1);
}

TEST_F(ArchiveTablesTest, AnArchiveCutAnywhereFailsCleanlyUntilItsTablesAreWholeThenListsEverything) {
    MpakBuilder b;
    // Only the first copy is read, so the data that ends the file is a single copy.
    b.entry("two/copies.bin", "xyz", MpakEntryOptions().copies(2));
    b.entry("textures/sky.tga", "compressed bytes", MpakEntryOptions().compressed(1).originalSize(100));
    b.stocGroup({"textures/sky.tga", "sky.tga"}).stocGroup({"two/copies.bin", "copies.bin", "x/copies.bin"});
    std::string whole = b.build();
    // The STOC walk looks at the first two bytes of the RAWD tag after the last plain record.
    const std::size_t tablesEnd = static_cast<std::size_t>(b.rawdStart()) + 2;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        if (length < tablesEnd) {
            EXPECT_NE(failureOf(whole.substr(0, length)), "");
        } else {
            EXPECT_EQ(failureOf(whole.substr(0, length)), "");
            EXPECT_EQ(open(whole.substr(0, length)).entries.size(), 2u);
        }
    }
}
