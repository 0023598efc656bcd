// The checked reads, number texts, archive paths, file writes and the work spread over the
// cores that every format and command builds on.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "common/bytes.h"
#include "common/every_core.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

using namespace std::string_view_literals;

TEST(CheckedFields, NothingToReadIsNeverPastTheEndOffsetsDoNotWrapAroundAndNumbersOutgrowingTheirFieldFail) {
    const ByteReader r("\x00\x80"sv);
    EXPECT_EQ(r.bytes(2, 0, "name"), "");                 // nothing to read is never past the end
    EXPECT_THROW(r.bytes(1, SIZE_MAX, "name"), Failure);  // offset + length does not wrap around
    EXPECT_EQ(hex8(-128), "FFFFFF80");                    // two's complement, as damaged fields are listed
    EXPECT_EQ(toInt16(32767, "x"), 32767);
    EXPECT_THROW(toInt16(32768, "x"), Failure);
    EXPECT_THROW(decimalPadded(100, 2, "x"), Failure);
}

TEST(ArchivePaths, FlattenedNamesReadBackAndJoinsStayBelowTheRootRefusingLinksOnTheWay) {
    for (std::string path : {"a+b\\50%.dds", "%%\\++\\%25"}) EXPECT_EQ(unflattenName(flattenPath(path)), path);
    TempDir dir, outside;
    for (const char* same : {"a\\b.dds", "a/b.dds", "a\\\\b.dds", "a\\.\\b.dds", "./a/b.dds/"})
        EXPECT_EQ(safeJoin(dir.path(), same), dir.path() / "a" / "b.dds") << same;
    // Rooted paths, drives and streams are refused on every platform alike.
    for (std::string_view hostile : {"..\\x"sv, "a\\..\\..\\x"sv, "a/../x"sv, ""sv, "."sv, "\\"sv, "a\0b"sv,
                                     "\\evil3.txt"sv, "/x"sv, "C:\\evil4.txt"sv, "c:evil5.txt"sv, "a\\b:stream"sv})
        EXPECT_FALSE(safeJoin(dir.path(), hostile)) << hostile;
    // The archive's own file name is a host name: ":" is a drive on Windows alone.
    EXPECT_EQ(isPlainName("my:mod.mpak"), kDriveCharacters.empty());
    for (std::string_view name : {"x.mpak"sv, " x "sv}) EXPECT_TRUE(isPlainName(name)) << name;
    for (std::string_view name : {""sv, "."sv, ".."sv, "a/b"sv, "a\\b"sv, "a\0b"sv})
        EXPECT_FALSE(isPlainName(name)) << name;
    MAKE_LINK_OR_SKIP(outside.path(), dir / "link", true);
    EXPECT_FALSE(safeJoin(dir.path(), "link\\file"));
}

TEST(ArchivePaths, AFileBelowTheRootGivesItsEntryPathUnlessANameOnTheWayCannotBeAnEntrysName) {
    TempDir dir;
    const fs::path root = dir.path();
    EXPECT_EQ(entryPathOf(root, root / "textures" / "a b.dds"), "textures\\a b.dds");
    EXPECT_EQ(entryPathOf(root / "", root / "x.txt"), "x.txt");                 // a root that ends in a separator
    EXPECT_EQ(entryPathOf(root / "." / "", root / "d" / "x.txt"), "d\\x.txt");  // read lexically
    EXPECT_FALSE(entryPathOf(root, root / "d" / ".." / "x.txt"));
    EXPECT_FALSE(entryPathOf(root, root));
    if (kDriveCharacters.empty()) {  // names Windows itself refuses
        EXPECT_FALSE(entryPathOf(root, root / "a\\b.txt"));
        EXPECT_FALSE(entryPathOf(root, root / "d" / "a:b.txt"));
    }
}

// Written bytes and copied ranges land in the order they were given, whichever way the system
// copies; a range past the source's end fails naming it and appends nothing.
TEST(WorkFiles, AppendedRangesAndWritesLandInTheirOrder) {
    TempDir dir;
    std::string source(3 << 20, '\0');
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 7 + i / 4099);
    writeFile(dir / "source", source);
    RangeReader from(dir / "source");
    WorkFile out(dir / "out");
    out.write("head");
    out.append(from, 3, source.size() - 5);
    out.append(from, 0, 0);
    out.write("tail");
    out.append(from, 1, 2);
    EXPECT_THROW(out.append(from, source.size() - 1, 2), Failure);
    std::string expected = "head" + source.substr(3, source.size() - 5) + "tail" + source.substr(1, 2);
    // Pieces below, at and above what the file keeps back before writing, one after another.
    for (std::size_t size : {1u, 40000u, 70000u, 3u, 33000u, 32000u, 65536u, 0u, 2u}) {
        out.write(std::string_view(source).substr(size, size));
        expected += source.substr(size, size);
    }
    EXPECT_EQ(out.position(), std::int64_t(expected.size()));
    out.close();
    EXPECT_TRUE(readFile(dir / "out") == expected);
}

// Reads that follow one another are served from a read-ahead; whatever their order, each gives
// the file's own bytes, and a range past the end fails. A whole file reads whole at any size.
TEST(WorkFiles, RangeReadsInAnyOrderAndWholeReadsGiveTheFilesBytes) {
    TempDir dir;
    std::string source((3 << 20) + 17, '\0');
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 13 + i / 65521);
    writeFile(dir / "source", source);
    RangeReader from(dir / "source");
    const std::uint64_t mib = 1 << 20, end = source.size();
    const std::pair<std::uint64_t, std::uint64_t> reads[] = {
        {0, 10},   {10, 5},          {20, 3000},    {mib - 7, 20},   {mib + 13, mib},  {5, 4},
        {6, 2},    {2 * mib - 1, 2}, {2 * mib, 1},  {end - 5, 5},    {end - 1, 1},     {3, mib / 2},
        {mib, 7},  {0, end},         {end - 9, 4},  {end - 3, 3},    {40, 1},          {41, 0}};
    for (auto [offset, length] : reads)
        EXPECT_TRUE(from.read(offset, length) == source.substr(offset, length)) << offset << "+" << length;
    EXPECT_THROW(from.read(end - 2, 3), Failure);
    EXPECT_TRUE(from.read(end - 2, 2) == source.substr(end - 2));
    // Whole files around the sizes of the first read and of the pieces after it.
    for (std::size_t size : {0u, 1u, 65535u, 65536u, 65537u, 196608u, 196609u, unsigned(end)}) {
        writeFile(dir / "whole", source.substr(0, size));
        EXPECT_TRUE(readWholeFile(dir / "whole") == source.substr(0, size)) << size;
    }
}

// A large file at the name is freed beside the work; on POSIX a reader that has it open still
// reads it whole, and a FIFO planted at the name is replaced without being opened.
TEST(WorkFiles, AReplacingFileTakesTheNameOfALargeFileOrOfAFifoAndAReaderKeepsTheOldOne) {
    TempDir dir;
    const std::string large(3 << 20, 'o');
    writeFile(dir / "archive", large);
    writeFileReplacing(dir / "archive", "new", Durability::Synced);
    EXPECT_EQ(readFile(dir / "archive"), "new");
    POSIX_ONLY("Windows renames over no open file and has no FIFO");
    writeFile(dir / "archive", large);
    RangeReader reader(dir / "archive");
    EXPECT_EQ(reader.read(0, 1), "o");
    writeFileReplacing(dir / "archive", "newer", Durability::Synced);
    EXPECT_EQ(readFile(dir / "archive"), "newer");
    EXPECT_TRUE(reader.read(large.size() - 2, 2) == "oo");
    ASSERT_EQ(mkfifo((dir / "fifo").string().c_str(), 0600), 0);
    writeFileReplacing(dir / "fifo", "file");
    EXPECT_EQ(readFile(dir / "fifo"), "file");
}

TEST(EveryCore, EachItemRunsOnceAndTheFirstFailureByItemOrderIsThrownAfterAllEnded) {
    for (std::size_t count : {0u, 1u, 2u, 100u}) {
        std::vector<std::atomic<int>> runs(count);
        int between = 0;
        onEveryCore(
            count,
            [&](std::size_t i, std::size_t thread) {
                EXPECT_LT(thread, everyCoreThreads());
                ++runs[i];
            },
            [&] { ++between; });
        for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(runs[i], 1) << i;
        EXPECT_LE(between, int(count));
    }
    std::atomic<int> ran{0};
    try {
        onEveryCore(50, [&](std::size_t i, std::size_t) {
            ++ran;
            if (i == 7 || i == 30) throw std::runtime_error("item " + std::to_string(i));
        });
        ADD_FAILURE() << "no failure thrown";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "item 7");
    }
    EXPECT_EQ(ran, 50);  // a failure does not keep the other items from running
}
