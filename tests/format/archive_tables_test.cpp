// Reading an archive's header, TOC and STOC from archives built byte by byte: widths, odd
// records and damaged files.
#include "format/archive_tables.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "common/failure.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/platform.h"
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
    std::vector<Names> groupNames(const std::string& bytes) {
        std::vector<Names> names;
        for (const StocGroup& g : open(bytes).stocGroups) names.push_back(g.names);
        return names;
    }
    TempDir dir;
    ArchiveLayout layout;
};

MpakBuilder build(const std::function<void(MpakBuilder&)>& change) {
    MpakBuilder b;
    change(b);
    return b;
}

}  // namespace

TEST_F(ArchiveTablesTest, NamesAreBytesUpTo255LongCopiesUpTo8191AndCountsOf0x8000OrMoreNegative) {
    std::string longName = std::string(250, 'n') + "/\xE9\x01z.";
    ArchiveTables t = open(MpakBuilder().entry(longName, "x", MpakEntryOptions().copies(8191)).build());
    EXPECT_EQ(t.entries.at(0).entryPath, std::string(250, 'n') + "\\\xE9\x01z.");
    EXPECT_EQ(t.entries[0].entryCopies, 8191);
    EXPECT_EQ(failureOf(MpakBuilder().entry("many", "d", MpakEntryOptions().copies(8192)).build()),
              "TOC entry 1 at offset 0x14 says it has 8192 copies; an archive entry can have at most 8191: the archive "
              "is damaged.");

    // Negative counts give no entries and no groups.
    MpakBuilder b = build([](MpakBuilder& b) { b.entry("a", "x").stocGroup({"a", "b"}); });
    b.tocEntryCount = static_cast<std::int16_t>(0x8000);
    b.stocEntryCount = static_cast<std::int16_t>(0xFFFF);
    t = open(b.build());
    EXPECT_TRUE(t.entries.empty());
    EXPECT_TRUE(t.stocGroups.empty());
}

TEST_F(ArchiveTablesTest, StocGroupsOfOneOpenersWithoutFollowersAndHighFollowerCounts) {
    MpakBuilder b;
    b.stocRecord("single").stocRecord("opener", 0).stocRecord("after-zero");
    // A followerCount of 256 has a high byte of 1: the record reads as a plain one, and the
    // next record starts at the count's low byte, a zero name length.
    b.stocRecord("big", 256).stocRecord("open", 2).stocRecord("f1").stocRecord("f2");
    b.stocGroup({"beyond", "the count"});
    b.stocEntryCount = 5;  // the walk stops here, before "beyond"
    EXPECT_EQ(groupNames(b.build()),
              (std::vector<Names>{{"single"}, {"opener"}, {"after-zero"}, {"big"}, {""}, {"open", "f1", "f2"}}));
    EXPECT_FALSE(open(b.build()).stocGroups[1].complete);

    // A chunk that holds fewer groups than the header says gives those it holds.
    MpakBuilder short_ = build([](MpakBuilder& b) { b.stocGroup({"a", "b"}).stocRecord("open", 2).stocRecord("f1"); });
    short_.stocEntryCount = 3;
    EXPECT_EQ(groupNames(short_.build()), (std::vector<Names>{{"a", "b"}, {"open", "f1"}}));
}

TEST_F(ArchiveTablesTest, DamagedTablesFailWithWhatIsWrongAndWhere) {
    const std::string cut =
        "runs past the end of the archive's tables (offset 0x30): the archive is damaged or cut short.";
    const std::pair<MpakBuilder, std::string> cases[] = {
        {build([](MpakBuilder& b) { b.tocSize = 2; }),
         "The header gives the TOC chunk 2 bytes and the STOC chunk 4 bytes; each chunk holds at least its 4-byte "
         "tag."},
        {build([](MpakBuilder& b) { b.tocSize = 0x7FFFFFF0; }),
         "The STOC position (TOC size + 16) comes to 2147483648, more than an archive can record there (-2147483648 "
         "to 2147483647)."},
        {build([](MpakBuilder& b) { b.entry("a", "data").tocEntryCount = 2; }),
         "The TOC entry 2 at offset 0x28 " + cut},
        {build([](MpakBuilder& b) { b.entry("a", "data", MpakEntryOptions().nameLength(200)); }),
         "The TOC entry 1 at offset 0x14 " + cut},
    };
    for (const auto& [archive, expected] : cases) EXPECT_EQ(failureOf(archive.build()), expected);
    EXPECT_NE(failureOf("MPAK\x04").find("is 5 bytes long, too short for the 16-byte header of an archive."),
              std::string::npos);
}

TEST_F(ArchiveTablesTest, TablesAreReadAsTheWalkGoesWhateverSizeTheHeaderClaims) {
    POSIX_ONLY("a sparse file and the process's peak memory");
#ifndef _WIN32
    writeFile(dir / "big.mpak", build([](MpakBuilder& b) { b.entry("a", "data").tocSize = 0x7FFF0000; }).build());
    fs::resize_file(dir / "big.mpak", 0x80000000);  // 2 GiB, nearly all of it TOC by the header's claim
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_EQ(readArchiveTables(dir / "big.mpak", readArchiveLayout(dir / "big.mpak")).entries.at(0).entryPath, "a");
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024);  // kilobytes
#endif
}

TEST_F(ArchiveTablesTest, AnArchiveCutAnywhereFailsUntilItsTablesAreWholeThenListsEveryEntryThoughItsDataIsCut) {
    MpakBuilder b;
    b.entry("two/copies.bin", "xyz", MpakEntryOptions().copies(2));
    b.entry("textures/sky.tga", "compressed bytes", MpakEntryOptions().compressed(1).originalSize(100));
    b.stocGroup({"textures/sky.tga", "sky.tga"}).stocGroup({"two/copies.bin", "copies.bin", "x/copies.bin"});
    std::string whole = b.build();
    // The STOC walk looks at the first two bytes of the RAWD tag after the last plain record.
    const std::size_t tablesEnd = static_cast<std::size_t>(b.rawdStart()) + 2;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        std::string failure = failureOf(whole.substr(0, length));
        EXPECT_EQ(failure.empty(), length >= tablesEnd) << "cut at " << length << ": " << failure;
        if (failure.empty()) {
            EXPECT_EQ(open(whole.substr(0, length)).entries.size(), 2u);
        }
    }
}
