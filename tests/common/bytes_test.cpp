#include "common/bytes.h"

#include <gtest/gtest.h>

#include "common/failure.h"

TEST(ByteReader, ReadsSignedFieldsAndFailsPastTheEndWithTheOffsetAndWhatWasRead) {
    std::string data("\x00\x80\xFF\xFF\xFF", 5);
    ByteReader r(data);
    EXPECT_EQ(r.i16(0, "f"), -32768);
    EXPECT_EQ(r.i32(1, "f"), -128);
    try {
        r.i32(2, "TOC entry");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "The TOC entry at offset 0x2 runs past the end of the file (5 bytes).");
    }
    EXPECT_THROW(r.bytes(6, 0, "name"), Failure);
    EXPECT_THROW(r.bytes(1, SIZE_MAX, "name"), Failure);
    EXPECT_EQ(r.bytes(5, 0, "name"), "");
}

TEST(CheckedArithmetic, FailsOutsideTheFieldWidth) {
    EXPECT_EQ(toInt16(32767, "x"), 32767);
    EXPECT_THROW(toInt16(32768, "x"), Failure);
    EXPECT_THROW(toInt32(2147483648LL, "x"), Failure);
    EXPECT_THROW(addInt32(INT32_MAX, 1, "x"), Failure);
}
