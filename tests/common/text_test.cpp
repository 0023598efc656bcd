#include "common/text.h"

#include <gtest/gtest.h>

#include "common/failure.h"

TEST(NumberFormats, HexAndPaddedDecimal) {
    EXPECT_EQ(hexUpper(0), "0");
    EXPECT_EQ(hexUpper(0xE6B4), "E6B4");
    EXPECT_EQ(hex8(0xA4C), "00000A4C");
    EXPECT_EQ(hex8(-1), "FFFFFFFF");
    EXPECT_EQ(decimalPadded(1, 2, "x"), "01");
    EXPECT_THROW(decimalPadded(100, 2, "x"), Failure);
}

TEST(CrLfLines, SplitAndTrim) {
    EXPECT_TRUE(splitCrLf("").empty());
    EXPECT_EQ(splitCrLf("a\r\nb\r\n"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(splitCrLf("a\nb"), (std::vector<std::string>{"a\nb"}));
    EXPECT_EQ(trimTrailingCrLf("a\r\n\r\n"), "a");
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
}

TEST(Comparison, AsciiCaseOnly) {
    EXPECT_TRUE(equalsIgnoringAsciiCase("Textures\\SKY.dds", "textures\\sky.DDS"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC9", "\xE9"));
    EXPECT_EQ(afterLast("a\\b\\c.mpak", '\\'), "c.mpak");
    EXPECT_EQ(afterLast("c.mpak", '\\'), "c.mpak");
}
