// The packer's readers of the library .toc and .stoc texts, and the written texts read back.
#include "archive/library_readers.h"

#include <gtest/gtest.h>

#include "archive/archive_texts.h"
#include "common/text.h"

namespace {

std::vector<std::string> paths(const std::vector<TocLibraryLine>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(line.path);
    return out;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(TocLibraryReader, ReadsTheWrittenFormatAndSkipsCommentsAndEmptyLines) {
    std::string text =
        "--Comment lines start with double (--) dashes\r\n"
        "--Field 3: File path.\r\n"
        "\r\n"
        "01 1 textures\\sky.tga\r\n"
        "00 3 sounds\\a.wav";
    auto lines = readTocLibrary(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].compressedField, "01");
    EXPECT_EQ(lines[0].copiesField, "1");
    EXPECT_EQ(lines[0].path, "textures\\sky.tga");
    EXPECT_EQ(lines[0].lineNumber, 4);
    EXPECT_EQ(lines[1].compressedField, "00");
    EXPECT_EQ(lines[1].copiesField, "3");
    EXPECT_EQ(lines[1].path, "sounds\\a.wav");
    EXPECT_EQ(lines[1].lineNumber, 5);
}

TEST(TocLibraryReader, SplitsAtTheFirstTwoBlanksOnlySoAPathMayHoldBlanks) {
    auto lines = readTocLibrary("   01 2 my folder\\a b.txt   \r\n01  x\r\n01 1\r\nonlyonefield\r\n  --01 1 c\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].path, "my folder\\a b.txt");
    EXPECT_EQ(lines[0].copiesField, "2");
    // Two blanks in a row give an empty second field.
    EXPECT_EQ(lines[1].compressedField, "01");
    EXPECT_EQ(lines[1].copiesField, "");
    EXPECT_EQ(lines[1].path, "x");
    EXPECT_EQ(lines[1].lineNumber, 2);
}

TEST(TocLibraryReader, SplitsOnlyAtCrLfAndKeepsOtherBytes) {
    auto lines = readTocLibrary("01 1 a\nb\r\n01 1 \xE9t\xE9\r\r\n");
    EXPECT_EQ(paths(lines), (Names{"a\nb", "\xE9t\xE9\r"}));
    EXPECT_TRUE(readTocLibrary("").empty());
}

TEST(TocLibraryReader, LookupIgnoresAsciiCaseAndTheFirstMatchWins) {
    auto lines = readTocLibrary("00 1 Textures\\Sky.TGA\r\n01 4 textures\\sky.tga\r\n01 1 a b\r\n");
    const TocLibraryLine* found = findTocLibraryLine(lines, "textures\\sky.tga");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->compressedField, "00");
    EXPECT_EQ(found->lineNumber, 1);
    ASSERT_NE(findTocLibraryLine(lines, "A B"), nullptr);
    EXPECT_EQ(findTocLibraryLine(lines, "textures/sky.tga"), nullptr);
    EXPECT_EQ(findTocLibraryLine(lines, "textures\\sky.tg"), nullptr);
    EXPECT_EQ(findTocLibraryLine(lines, "\xC9"), nullptr);
}

TEST(StocLibraryParser, ReadsBackTheWrittenFormat) {
    std::string text =
        "--Comment lines start with double (--) dashes.\r\n"
        "--[x] # of files in the next group.\r\n"
        "\r\n"
        "[2]\r\n"
        "textures/sky.tga\r\n"
        "sky.tga\r\n"
        "\r\n"
        "[1]\r\n"
        "effects/smoke.fx\r\n"
        "\r\n"
        "[3]\r\n"
        "a/b.dds\r\n"
        "b.dds\r\n"
        "c/b.dds\r\n"
        "\r\n";
    StocLibrary stoc = parseStocLibrary(text);
    EXPECT_FALSE(stoc.error);
    ASSERT_EQ(stoc.groups.size(), 3u);
    EXPECT_EQ(stoc.groups[0].declaredSize, 2);
    EXPECT_EQ(stoc.groups[0].names, (Names{"textures/sky.tga", "sky.tga"}));
    EXPECT_EQ(stoc.groups[0].headerLineNumber, 4);
    EXPECT_EQ(stoc.groups[1].declaredSize, 1);
    EXPECT_EQ(stoc.groups[1].names, (Names{"effects/smoke.fx"}));
    EXPECT_EQ(stoc.groups[1].headerLineNumber, 8);
    EXPECT_EQ(stoc.groups[2].names, (Names{"a/b.dds", "b.dds", "c/b.dds"}));
}

TEST(StocLibraryParser, InsideAGroupEmptyLinesDoNotCountAndCommentAndBracketLinesAreNames) {
    StocLibrary stoc = parseStocLibrary("[4]\r\n  first  \r\n\r\n   \r\n--not a comment\r\n[2]\r\nlast\r\n\r\n");
    ASSERT_EQ(stoc.groups.size(), 1u);
    EXPECT_EQ(stoc.groups[0].names, (Names{"first", "--not a comment", "[2]", "last"}));
}

TEST(StocLibraryParser, TheLineAfterAGroupsLastNameIsPassedOverUnseen) {
    // The header written directly under the last name is lost; its names are then skipped
    // as lines that do not begin with "[".
    StocLibrary stoc = parseStocLibrary("[1]\r\na\r\n[2]\r\nb\r\nc\r\n\r\n[1]\r\nd");
    ASSERT_EQ(stoc.groups.size(), 2u);
    EXPECT_EQ(stoc.groups[0].names, (Names{"a"}));
    EXPECT_EQ(stoc.groups[1].names, (Names{"d"}));
    EXPECT_EQ(stoc.groups[1].headerLineNumber, 7);
}

TEST(StocLibraryParser, AHeaderOfZeroHasNoNamesAndPassesOverTheNextLine) {
    StocLibrary stoc = parseStocLibrary("[0]\r\n[1]\r\na\r\n\r\n[1]\r\nb");
    ASSERT_EQ(stoc.groups.size(), 2u);
    EXPECT_EQ(stoc.groups[0].declaredSize, 0);
    EXPECT_TRUE(stoc.groups[0].names.empty());
    EXPECT_EQ(stoc.groups[1].names, (Names{"b"}));
}

TEST(StocLibraryParser, OutsideAGroupOnlyLinesBeginningWithABracketCount) {
    StocLibrary stoc = parseStocLibrary("stray\r\n--[2]\r\n  [1]\r\nx\r\n");
    ASSERT_EQ(stoc.groups.size(), 1u);
    EXPECT_EQ(stoc.groups[0].names, (Names{"x"}));
    EXPECT_EQ(stoc.groups[0].headerLineNumber, 3);
}

TEST(StocLibraryParser, AGroupCutShortByTheEndKeepsItsNames) {
    StocLibrary stoc = parseStocLibrary("[3]\r\na\r\n\r\nb");
    ASSERT_EQ(stoc.groups.size(), 1u);
    EXPECT_EQ(stoc.groups[0].declaredSize, 3);
    EXPECT_EQ(stoc.groups[0].names, (Names{"a", "b"}));
}

TEST(StocLibraryParser, TrailingEmptyLinesAreRemovedBeforeNumbering) {
    StocLibrary stoc = parseStocLibrary("\r\n\r\n[x]\r\n\r\n\r\n\r\n");
    ASSERT_TRUE(stoc.error);
    EXPECT_EQ(stoc.error->lineNumber, 3);
    EXPECT_TRUE(parseStocLibrary("").groups.empty());
    EXPECT_TRUE(parseStocLibrary("\r\n\r\n").groups.empty());
}

TEST(StocLibraryParser, HeaderValuesAreRoundedHalfToEven) {
    struct Case {
        const char* header;
        std::int32_t size;
    };
    for (Case c : {Case{"[2.5]", 2}, Case{"[3.5]", 4}, Case{"[1.4]", 1}, Case{"[ 2 ]", 2}, Case{"[+3]", 3},
                   Case{"[[2]]", 2}, Case{"[0.5]", 0}, Case{"[-0.4]", 0}, Case{"[1e1]", 10}, Case{"[.5e1]", 5},
                   Case{"[2147483647]", 2147483647}, Case{"[007]", 7}}) {
        StocLibrary stoc = parseStocLibrary(c.header);
        ASSERT_FALSE(stoc.error) << c.header;
        ASSERT_EQ(stoc.groups.size(), 1u) << c.header;
        EXPECT_EQ(stoc.groups[0].declaredSize, c.size) << c.header;
    }
}

TEST(StocLibraryParser, AHeaderThatIsNotANonNegative32BitNumberIsAnError) {
    for (const char* header : {"[]", "[x]", "[2x]", "[2 3]", "[0x10]", "[1e]", "[.]", "[-1]", "[-0.6]", "[2147483648]",
                               "[1e300]", "[inf]", "[nan]", "[ ]", "[2,5]"}) {
        std::string text = std::string("--c\r\n[1]\r\nkept\r\n\r\n") + header + "\r\nname";
        StocLibrary stoc = parseStocLibrary(text);
        ASSERT_TRUE(stoc.error) << header;
        EXPECT_EQ(stoc.error->lineNumber, 5) << header;
        ASSERT_EQ(stoc.groups.size(), 1u) << header;
        EXPECT_EQ(stoc.groups[0].names, (Names{"kept"}));
    }
    StocLibrary stoc = parseStocLibrary("[a]b]");
    ASSERT_TRUE(stoc.error);
    EXPECT_EQ(stoc.error->headerText, "ab");
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
    EXPECT_EQ(lines[1].compressedField, "00");
    EXPECT_EQ(lines[1].copiesField, "3");
    EXPECT_EQ(lines[2].compressedField, "07");
    EXPECT_EQ(lines[2].copiesField, "-2");

    std::vector<StocGroup> groups = {
        {2, {"textures/sky.tga", "sky.tga"}, true}, {1, {"effects/smoke.fx"}, true}, {3, {"a/b", "b", "[c]"}, true}};
    StocLibrary stoc = parseStocLibrary(trimTrailingCrLf(stocLibraryText(groups, 2)));
    EXPECT_FALSE(stoc.error);
    ASSERT_EQ(stoc.groups.size(), 3u);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(stoc.groups[i].declaredSize, groups[i].size);
        EXPECT_EQ(stoc.groups[i].names, groups[i].names);
    }
    EXPECT_EQ(stocLibraryText(groups, 0), "");
}
