#include "common/paths.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"

using namespace std::string_view_literals;

TEST(FlattenedNames, PlusAndPercentOfANameReadBackUnchanged) {
    EXPECT_EQ(flattenPath("a+b\\50%.dds"), "a%2Bb+50%25.dds");
    for (std::string path : {"a+b\\c%2B.dds", "plain.txt", "%%\\++\\%25"})
        EXPECT_EQ(unflattenName(flattenPath(path)), path);
}

TEST(SafeJoin, StaysBelowTheRootPassingOverEmptyAndDotSegmentsAndRefusesLinksOnTheWay) {
    TempDir dir, outside;
    for (const char* same : {"a\\b.dds", "a/b.dds", "a\\\\b.dds", "a\\.\\b.dds", "\\a\\b.dds", "./a/b.dds/"})
        EXPECT_EQ(safeJoin(dir.path(), same), dir.path() / "a" / "b.dds") << same;
    EXPECT_EQ(safeJoin(dir.path(), "my:mod.mpak"), dir.path() / "my:mod.mpak");  // ":" is no drive here
    for (std::string_view hostile : {"..\\x"sv, "a\\..\\..\\x"sv, "a/../x"sv, ""sv, "."sv, "\\"sv, "a\0b"sv})
        EXPECT_FALSE(safeJoin(dir.path(), hostile)) << hostile;
    fs::create_directory_symlink(outside.path(), dir / "link");
    EXPECT_FALSE(safeJoin(dir.path(), "link\\file"));
}
