#include "common/text.h"

#include <gtest/gtest.h>

#include "common/failure.h"

TEST(NumberFormats, NegativeHexIsTwosComplementAndPaddedDecimalFailsWhenTooWide) {
    EXPECT_EQ(hex8(-1), "FFFFFFFF");
    EXPECT_EQ(decimalPadded(1, 2, "x"), "01");
    EXPECT_THROW(decimalPadded(100, 2, "x"), Failure);
}

TEST(CrLfLines, SplitOnlyAtCrLf) {
    EXPECT_TRUE(splitCrLf("").empty());
    EXPECT_EQ(splitCrLf("a\r\nb\nc\r\n"), (std::vector<std::string>{"a", "b\nc", ""}));
    EXPECT_EQ(trimTrailingCrLf("a\r\n\r\n"), "a");
}
