// The checked reads, number texts and archive paths that every format and command builds on.
#include <gtest/gtest.h>

#include "common/bytes.h"
#include "common/failure.h"
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
    for (std::string_view name : {""sv, "."sv, ".."sv, "a/b"sv, "a\\b"sv, "a\0b"sv}) EXPECT_FALSE(isPlainName(name)) << name;
    MAKE_LINK_OR_SKIP(outside.path(), dir / "link", true);
    EXPECT_FALSE(safeJoin(dir.path(), "link\\file"));
}
