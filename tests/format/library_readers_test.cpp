// The packer's readers of the library .toc and .stoc texts, and the written texts read back.
#include "format/library_readers.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"
#include "fixtures/temp_dir.h"
#include "format/library_files.h"

namespace {

using Names = std::vector<std::string>;

std::vector<Names> groupNames(const StocLibrary& stoc) {
    std::vector<Names> out;
    for (const auto& group : stoc.groups) out.push_back(group.names);
    return out;
}

}  // namespace

TEST(TocLibraryReader, SplitsAtTheFirstTwoBlanksOnlyAndSkipsShortLinesAndComments) {
    auto lines = readTocLibrary("   01 2 my folder\\a b.txt   \r\n01  x\r\n01 1\r\n  --01 1 c\r\n\r\n01 1 a\nb\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].path, "my folder\\a b.txt");
    EXPECT_EQ(lines[0].copiesField, "2");
    EXPECT_EQ(lines[1].copiesField, "");  // two blanks in a row give an empty second field
    EXPECT_EQ(lines[1].lineNumber, 2);
    EXPECT_EQ(lines[2].path, "a\nb");  // only CR LF ends a line
}

TEST(LibraryFileLines, AreTheTextsCrLfLinesReadInPiecesAndALineOverTheLimitIsRefusedAsItPassesIt) {
    TempDir dir;
    std::string text = "a";
    while (text.size() < 70000) text += "ab\r\n";  // one CR LF spans the reader's first two pieces
    text += std::string(kMaxLibraryLineLength, 'x') + "\r\n\r\r\n-\r";
    writeFile(dir / "x.toc", text);
    EXPECT_EQ(readLibraryLines(dir / "x.toc"), splitCrLf(text));
    for (const std::string& tooLong : {std::string(kMaxLibraryLineLength, 'x') + "\r", std::string(1 << 22, 'x')}) {
        writeFile(dir / "x.toc", "a\r\n" + tooLong);
        try {
            readLibraryLines(dir / "x.toc");
            ADD_FAILURE() << "not refused";
        } catch (const Failure& e) {
            EXPECT_EQ(e.what(),
                      "Line 2 of the library file '" + pathText(dir / "x.toc") +
                          "' is longer than 1024 bytes; an archive's entry paths and names hold at most 255.");
        }
    }
}

TEST(StocLibraryParser, GroupRulesForEmptyCommentBracketAndStrayLines) {
    const std::pair<const char*, std::vector<Names>> cases[] = {
        // Inside a group empty lines do not count; comment and bracket lines are names.
        {"[4]\r\n  first  \r\n\r\n   \r\n--not a comment\r\n[2]\r\nlast\r\n\r\n", {{"first", "--not a comment", "[2]", "last"}}},
        // The line after a group's last name is passed over unseen.
        {"[1]\r\na\r\n[2]\r\nb\r\nc\r\n\r\n[1]\r\nd", {{"a"}, {"d"}}},
        // A header of zero has no names and passes over the next line.
        {"[0]\r\n[1]\r\na\r\n\r\n[1]\r\nb", {{}, {"b"}}},
        // Outside a group only lines beginning with a bracket count; a group cut short keeps its names.
        {"stray\r\n--[2]\r\n  [3]\r\nx\r\n\r\ny", {{"x", "y"}}},
    };
    for (const auto& [text, groups] : cases) EXPECT_EQ(groupNames(parseStocLibrary(text)), groups) << text;
}

TEST(StocLibraryParser, HeadersAreNonNegative32BitNumbersRoundedHalfToEvenOrAnErrorWithTheirLine) {
    for (auto [header, size] : std::vector<std::pair<const char*, std::int32_t>>{
             {"[2.5]", 2}, {"[3.5]", 4}, {"[ 2 ]", 2}, {"[+3]", 3}, {"[[2]]", 2}, {"[-0.4]", 0}, {"[.5e1]", 5},
             {"[2147483647]", 2147483647}}) {
        StocLibrary stoc = parseStocLibrary(header);
        ASSERT_FALSE(stoc.error) << header;
        EXPECT_EQ(stoc.groups.at(0).declaredSize, size) << header;
    }
    for (const char* header : {"[]", "[2x]", "[0x10]", "[1e]", "[-1]", "[-0.6]", "[2147483648]", "[inf]", "[2,5]"}) {
        // Trailing empty lines are removed before numbering.
        StocLibrary stoc = parseStocLibrary(std::string("--c\r\n[1]\r\nkept\r\n\r\n") + header + "\r\nname\r\n\r\n");
        ASSERT_TRUE(stoc.error) << header;
        EXPECT_EQ(stoc.error->lineNumber, 5) << header;
        EXPECT_EQ(groupNames(stoc), (std::vector<Names>{{"kept"}})) << header;
    }
    EXPECT_EQ(stocHeaderErrorText(*parseStocLibrary("[a]b]").error),
              "ab\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 1.");
}
