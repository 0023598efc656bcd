// The packer's readers of the library .toc and .stoc texts, and the written texts read back.
#include "format/library_readers.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "format/archive_texts.h"

namespace {

using Names = std::vector<std::string>;

std::vector<Names> groupNames(const StocLibrary& stoc) {
    std::vector<Names> out;
    for (const auto& group : stoc.groups) out.push_back(group.names);
    return out;
}

}  // namespace

TEST(TocLibraryReader, SplitsAtTheFirstTwoBlanksOnlyAndSkipsShortLinesAndComments) {
    auto lines = readTocLibrary(
        "   01 2 my folder\\a b.txt   \r\n01  x\r\n01 1\r\nonlyonefield\r\n  --01 1 c\r\n"
        "\r\n01 1 a\nb\r\n01 1 \xE9t\xE9\r\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].path, "my folder\\a b.txt");
    EXPECT_EQ(lines[0].copiesField, "2");
    // Two blanks in a row give an empty second field.
    EXPECT_EQ(lines[1].compressedField, "01");
    EXPECT_EQ(lines[1].copiesField, "");
    EXPECT_EQ(lines[1].path, "x");
    EXPECT_EQ(lines[1].lineNumber, 2);
    // Only CR LF ends a line; other bytes stay in the path.
    EXPECT_EQ(lines[2].path, "a\nb");
    EXPECT_EQ(lines[3].path, "\xE9t\xE9\r");
    EXPECT_TRUE(readTocLibrary("").empty());
}

TEST(TocLibraryReader, LookupIgnoresAsciiCaseAndTheFirstMatchWins) {
    auto lines = readTocLibrary("00 1 Textures\\Sky.TGA\r\n01 4 textures\\sky.tga\r\n01 1 a b\r\n");
    const TocLibraryLine* found = findTocLibraryLine(lines, "textures\\sky.tga");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->compressedField, "00");
    EXPECT_EQ(found->lineNumber, 1);
    EXPECT_NE(findTocLibraryLine(lines, "A B"), nullptr);
    for (const char* absent : {"textures/sky.tga", "textures\\sky.tg", "\xC9"})
        EXPECT_EQ(findTocLibraryLine(lines, absent), nullptr) << absent;
}

TEST(StocLibraryParser, GroupRulesForEmptyCommentBracketAndStrayLines) {
    struct Case {
        const char* rule;
        const char* text;
        std::vector<Names> groups;
    };
    for (const Case& c : {
             Case{"inside a group empty lines do not count; comment and bracket lines are names",
                  "[4]\r\n  first  \r\n\r\n   \r\n--not a comment\r\n[2]\r\nlast\r\n\r\n",
                  {{"first", "--not a comment", "[2]", "last"}}},
             Case{"the line after a group's last name is passed over unseen",
                  "[1]\r\na\r\n[2]\r\nb\r\nc\r\n\r\n[1]\r\nd",
                  {{"a"}, {"d"}}},
             Case{"a header of zero has no names and passes over the next line",
                  "[0]\r\n[1]\r\na\r\n\r\n[1]\r\nb",
                  {{}, {"b"}}},
             Case{"outside a group only lines beginning with a bracket count",
                  "stray\r\n--[2]\r\n  [1]\r\nx\r\n",
                  {{"x"}}},
             Case{"a group cut short by the end keeps its names", "[3]\r\na\r\n\r\nb", {{"a", "b"}}},
             Case{"empty text", "\r\n\r\n", {}},
         }) {
        SCOPED_TRACE(c.rule);
        StocLibrary stoc = parseStocLibrary(c.text);
        EXPECT_FALSE(stoc.error);
        EXPECT_EQ(groupNames(stoc), c.groups);
    }
    StocLibrary stoc = parseStocLibrary("[1]\r\na\r\n[2]\r\nb\r\nc\r\n\r\n[1]\r\nd");
    EXPECT_EQ(stoc.groups.at(1).headerLineNumber, 7);
}

TEST(StocLibraryParser, HeaderValuesAreRoundedHalfToEven) {
    for (auto [header, size] : std::vector<std::pair<const char*, std::int32_t>>{{"[2.5]", 2},
                                                                                 {"[3.5]", 4},
                                                                                 {"[1.4]", 1},
                                                                                 {"[ 2 ]", 2},
                                                                                 {"[+3]", 3},
                                                                                 {"[[2]]", 2},
                                                                                 {"[0.5]", 0},
                                                                                 {"[-0.4]", 0},
                                                                                 {"[1e1]", 10},
                                                                                 {"[.5e1]", 5},
                                                                                 {"[2147483647]", 2147483647},
                                                                                 {"[007]", 7}}) {
        StocLibrary stoc = parseStocLibrary(header);
        EXPECT_FALSE(stoc.error) << header;
        EXPECT_EQ(stoc.groups.at(0).declaredSize, size) << header;
    }
}

TEST(StocLibraryParser, AHeaderThatIsNotANonNegative32BitNumberIsAnErrorWithItsLineNumber) {
    for (const char* header : {"[]", "[x]", "[2x]", "[2 3]", "[0x10]", "[1e]", "[.]", "[-1]", "[-0.6]", "[2147483648]",
                               "[1e300]", "[inf]", "[nan]", "[ ]", "[2,5]"}) {
        StocLibrary stoc = parseStocLibrary(std::string("--c\r\n[1]\r\nkept\r\n\r\n") + header + "\r\nname");
        ASSERT_TRUE(stoc.error) << header;
        EXPECT_EQ(stoc.error->lineNumber, 5) << header;
        EXPECT_EQ(groupNames(stoc), (std::vector<Names>{{"kept"}})) << header;
    }
    // Trailing empty lines are removed before numbering.
    StocLibrary trailing = parseStocLibrary("\r\n\r\n[x]\r\n\r\n\r\n\r\n");
    ASSERT_TRUE(trailing.error);
    EXPECT_EQ(trailing.error->lineNumber, 3);

    StocLibrary stoc = parseStocLibrary("[a]b]");
    ASSERT_TRUE(stoc.error);
    EXPECT_EQ(stocHeaderErrorText(*stoc.error),
              "ab\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 1.");
}

TEST(LibraryRoundTrip, TheWrittenTextsReadBackIntoTheSameLinesAndGroups) {
    std::vector<EntrySlot> entries(3);
    entries[0].entryPath = "textures\\sky.tga", entries[0].entryCompressed = 1, entries[0].entryCopies = 1;
    entries[1].entryPath = "my sounds\\a b.wav", entries[1].entryCompressed = 0, entries[1].entryCopies = 3;
    entries[2].entryPath = "odd", entries[2].entryCompressed = 7, entries[2].entryCopies = -2;
    auto lines = readTocLibrary(trimTrailingCrLf(tocLibraryText(entries)));
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].path, entries[i].entryPath);
        EXPECT_EQ(lines[i].lineNumber, static_cast<int>(8 + i));
    }
    EXPECT_EQ(lines[2].compressedField, "07");
    EXPECT_EQ(lines[2].copiesField, "-2");

    std::vector<StocGroup> groups = {
        {2, {"textures/sky.tga", "sky.tga"}, true}, {1, {"effects/smoke.fx"}, true}, {3, {"a/b", "b", "[c]"}, true}};
    StocLibrary stoc = parseStocLibrary(trimTrailingCrLf(stocLibraryText(groups, 2)));
    EXPECT_FALSE(stoc.error);
    EXPECT_EQ(groupNames(stoc), (std::vector<Names>{groups[0].names, groups[1].names, groups[2].names}));
    EXPECT_EQ(stoc.groups.at(2).declaredSize, 3);
    EXPECT_EQ(stoc.groups[2].headerLineNumber, 17);  // counted from the first comment line
    EXPECT_EQ(stocLibraryText(groups, 0), "");
}
