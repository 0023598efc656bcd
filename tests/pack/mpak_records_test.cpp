#include "pack/mpak_records.h"

#include <gtest/gtest.h>

#include "common/failure.h"

using namespace std::string_literals;

TEST(MpakRecords, TocEntryHeadHoldsEachFieldAtItsOffset) {
    std::string toc;
    appendTocEntryHead(toc, "a/b", 0x0A4C, 0x2000, true, 2);
    EXPECT_EQ(toc,
              "\x0E\x00"s         // entryLength = 3 + 11
              "\x4C\x0A\x00\x00"  // storedSize
              "\x00\x20\x00\x00"  // originalSize
              "\x01\x03"          // compressed, nameLength
              "a/b\x00"s
              "\x02\x00"s);  // name, terminator, copies
}

TEST(MpakRecords, GroupOfTwoOrMoreCarriesFollowerCountAndGroupOfOneIsAPlainRecord) {
    std::string stoc;
    appendStocGroup(stoc, {"dir/f.txt", "f.txt", "g"}, "group");
    appendStocGroup(stoc, {"lone"}, "group");
    EXPECT_EQ(stoc,
              "\x09"
              "dir/f.txt\x00\x02\x00"s
              "\x05"
              "f.txt\x00"s
              "\x01g\x00"s
              "\x04lone\x00"s);
}

TEST(MpakRecords, RefusesNamesAndGroupsTheReaderCouldNotReadBack) {
    std::string out;
    EXPECT_NO_THROW(appendTocEntryHead(out, std::string(255, 'n'), 1, 1, false, 1));
    EXPECT_NO_THROW(appendStocGroup(out, std::vector<std::string>(256, "n"), "group"));

    auto failureOf = [](auto&& write) -> std::string {
        try {
            write();
        } catch (const Failure& f) {
            return f.what();
        }
        return "";
    };
    EXPECT_EQ(
        failureOf([&] { appendTocEntryHead(out, std::string(256, 'n'), 1, 1, false, 1); }),
        "The name '" + std::string(256, 'n') + "' is 256 bytes long; an archive holds names of at most 255 bytes.");
    EXPECT_EQ(failureOf([&] { appendStocGroup(out, std::vector<std::string>(257, "n"), "The group at line 4"); }),
              "The group at line 4 has 257 names; a STOC group holds at most 256.");
    EXPECT_NE(failureOf([&] {
                  appendStocGroup(out, {"a", std::string(256, 'n')}, "g");
              }).find("256 bytes"),
              std::string::npos);
    EXPECT_NE(failureOf([&] {
                  appendStocGroup(out, {"a", "\0b"s}, "g");
              }).find("g: a name is empty or begins with a zero byte"),
              std::string::npos);
    EXPECT_NE(failureOf([&] { appendStocGroup(out, {""}, "g"); }).find("empty"), std::string::npos);
}

TEST(MpakRecords, HeaderHoldsMagicSizesAndCountsAtOffsetsZeroToFourteen) {
    EXPECT_EQ(mpakHeader(0x14, 4, 3, -1), "MPAK\x14\x00\x00\x00\x04\x00\x00\x00\x03\x00\xFF\xFF"s);
}
