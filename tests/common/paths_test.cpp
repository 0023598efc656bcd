#include "common/paths.h"

#include <gtest/gtest.h>

#include "fixtures/temp_dir.h"

TEST(FlattenedNames, PlusAndPercentOfANameReadBackUnchanged) {
    EXPECT_EQ(flattenPath("a+b\\50%.dds"), "a%2Bb+50%25.dds");
    for (std::string path : {"a+b\\c%2B.dds", "plain.txt", "%%\\++\\%25"})
        EXPECT_EQ(unflattenName(flattenPath(path)), path);
}

TEST(SafeJoin, StaysBelowTheRootAndRefusesASymbolicLinkOnTheWay) {
    TempDir dir, outside;
    EXPECT_EQ(safeJoin(dir.path(), "a\\b.dds"), dir.path() / "a" / "b.dds");
    for (const char* hostile : {"..\\x", "a\\..\\..\\x", "\\x", "/x", "C:\\x", "C:x", "a\\\\b", "", ".", "a\\."})
        EXPECT_FALSE(safeJoin(dir.path(), hostile)) << hostile;
    fs::create_directory_symlink(outside.path(), dir / "link");
    EXPECT_FALSE(safeJoin(dir.path(), "link\\file"));
}
