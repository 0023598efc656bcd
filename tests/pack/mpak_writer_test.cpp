#include "pack/mpak_writer.h"

#include <functional>

#include "fixtures/mpak_builder.h"
#include "pack_fixture.h"

using namespace std::string_literals;

namespace {

const char* const kHeaderAndAb = "\x78\x9C\x61\x62";  // a zlib header, then "ab"

class PackItTest : public PackTest {
protected:
    PackItTest() { writeLibraryStoc(""); }  // an empty library .stoc: no groups, no caution box

    void stage(const std::string& stagedName, const std::string& bytes) {
        writeFile(form.tempPath / stagedName, bytes);
    }
};

}  // namespace

TEST_F(PackItTest, EmptyTempGivesAnArchiveOfTheLibraryGroupsAndABareRawdTag) {
    writeLibraryStoc("--comment.\r\n\r\n[2]\r\ntextures/sky.tga\r\nsky.tga\r\n\r\n");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.stocGroup({"textures/sky.tga", "sky.tga"});
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_EQ(form.stocEntryCount, 1);
    EXPECT_TRUE(workFilesGone());
}

TEST_F(PackItTest, MissingLibraryStocCautionsUnlessTheNameBeginsWithZeroThreeFourOrFive) {
    window.packFolder = "3x.mpak";
    EXPECT_EQ(PackIt(form), kPackDone);
    EXPECT_TRUE(window.messages.empty());
    window.packFolder = "ax.mpak";
    EXPECT_EQ(PackIt(form), kPackDone);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "Caution.\r\n\r\nNo library .stoc file found for this .MPAK.\r\n\r\n"
              "Library .stoc can be created by opening original .MPAK file again.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(filesIn(form.newMpaksPath), (std::vector<std::string>{"3x.mpak", "ax.mpak"}));
}

TEST_F(PackItTest, CopiesZeroStoreNoDataAndCopiesThreeFollowOneAnother) {
    stage("a.txt.5.0.0.unc", "hello");
    stage("b.txt.3.3.0.unc", "xyz");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("a.txt", "hello", MpakEntryOptions().copies(0));
    expected.entry("b.txt", "xyz", MpakEntryOptions().copies(3));  // offsets 4, 7, 10
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_EQ(form.logText, "Packing 1/2: a.txt.5.0.0.unc\r\nPacking 2/2: b.txt.3.3.0.unc\r\n");
    EXPECT_EQ(window.statusHistory.back(), "Packing 2/2: b.txt.3.3.0.unc");
    EXPECT_TRUE(filesIn(form.tempPath).empty());
}

TEST_F(PackItTest, CompressedStagedFileStoresItsZlibStreamWithoutHeaderAndTrailerAndUpperCaseCmpIsStored) {
    std::string stream;
    for (int i = 0; i < 100; ++i) stream.push_back(static_cast<char>(i));
    stage("c.bin.300.1.0.cmp", stream);
    stage("d.bin.4.1.0.CMP", kHeaderAndAb);
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("c.bin", stream.substr(2, 94), MpakEntryOptions().compressed(1).originalSize(300));
    expected.entry("d.bin", kHeaderAndAb);
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_EQ(readBack().entries[0].entryStoredSize, 94);
}

TEST_F(PackItTest, AutoAddGivesNewFilesGroupsAfterTheLibraryGroupsAndAMaintainedStocGivesThemNone) {
    writeLibraryStoc("[2]\r\ng\r\nh");
    stage("dir+f.txt.1.1.1.unc", "1");
    stage("old.txt.1.1.0.unc", "2");
    stage("top.txt.1.1.1.unc", "3");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("dir/f.txt", "1").entry("old.txt", "2").entry("top.txt", "3");
    expected.stocGroup({"g", "h"}).stocGroup({"dir/f.txt", "f.txt"}).stocGroup({"top.txt", "top.txt"});
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_EQ(form.stocEntryCount, 3);

    writeLibraryStoc("");
    window.autoAdd = false;
    form.filesPackedCount = 0;  // the pack command resets it before each pack
    stage("new.txt.1.1.1.unc", "1");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder maintained;
    maintained.entry("new.txt", "1");
    EXPECT_EQ(readFile(archive()), maintained.build());  // a bare STOC tag
    EXPECT_EQ(form.stocEntryCount, 0);
}

TEST_F(PackItTest, LibraryStocGroupsAreReadAsTheLibraryFormatSays) {
    // Lines 1-7: a comment, and a group whose empty lines do not count and whose "--" line is a name.
    // Lines 8-10: a group of none, the line after it passed over unseen, a stray name skipped.
    // Lines 11-15: a "[" line inside a group is a name; a header directly under a group is lost.
    // Lines 17-18: a group of one counts like any other.
    writeLibraryStoc(
        "--comment\r\n\r\n[2]\r\na\r\n\r\n--not a comment\r\n\r\n"
        "[0]\r\n[1]\r\nlost\r\n"
        "[2]\r\nb\r\n[c\r\n[1]\r\nlost too\r\n\r\n"
        "[1]\r\nsolo\r\n\r\n\r\n");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.stocGroup({"a", "--not a comment"}).stocGroup({"b", "[c"}).stocRecord("solo");
    expected.stocEntryCount = 3;
    EXPECT_EQ(readFile(archive()), expected.build());
    ASSERT_EQ(readBack().stocGroups.size(), 3u);  // the group of one reads back
}

// Each refusal: its box, status 999, the earlier archive kept, nothing left behind.
TEST_F(PackItTest, RefusesBadStocHeadersAndWhatTheReaderCouldNotReadBackKeepingTheEarlierArchive) {
    struct Case {
        std::function<void()> setUp;
        std::string says;
    };
    const std::string longName(256, 'n'), packIt = "PackIt error.\r\n\r\n";
    const Case cases[] = {
        {[&] { writeLibraryStoc("--c\r\n\r\n[2]\r\nn\r\nm\r\n\r\n[abc]\r\nx\r\n\r\n\r\n"); },
         "abc\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 7."},
        {[&] { writeLibraryStoc("[-1]\r\nx"); },
         "-1\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 1."},
        {[&] {
             for (int i = 0; i < 10002; ++i) stage("f" + std::to_string(i) + ".0.1.0.unc", "");
         },
         packIt + "Temp holds 10002 staged files; an archive holds at most 10001 files."},
        {[&] { stage("a.1.8192.0.unc", "1"); },
         packIt + "The staged file name 'a.1.8192.0.unc' has copies field '8192', not a whole number from 0 to 8191."},
        {[&] {
             std::string text = "[257]\r\n";
             for (int i = 0; i < 257; ++i) text += "n" + std::to_string(i) + "\r\n";
             writeLibraryStoc(text);
         },
         packIt + "The library .stoc group at line 1 has 257 names; a STOC group holds at most 256."},
        {[&] { writeLibraryStoc("[2]\r\na\r\n" + longName); },
         packIt + "The library .stoc group at line 1: the name '" + longName +
             "' is 256 bytes long; an archive holds names of at most 255 bytes."},
        {[&] { writeLibraryStoc("[2]\r\na\r\n\0b"s); },
         packIt + "The library .stoc group at line 1: a name is empty or begins with a zero byte, which the archive "
                  "reader would take for the start of a group."},
        {[&] { stage("a.1.1.0.cmp", kHeaderAndAb); },
         packIt + "The staged file 'a.1.1.0.cmp' is 4 bytes long, too short to be a zlib stream."},
        {[&] { window.packFolder = ".."; },
         packIt + "'..' is not a plain folder name; the new archive would not lie in NewMPAKs."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says.substr(0, 60));
        writeLibraryStoc("");
        window.messages.clear();
        window.packFolder = "x.mpak";
        writeFile(archive(), "earlier archive");
        c.setUp();
        EXPECT_EQ(PackIt(form), kPackAborted);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, c.says);
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(readFile(archive()), "earlier archive");
        EXPECT_EQ(filesIn(form.newMpaksPath), std::vector<std::string>{"x.mpak"});
        EXPECT_TRUE(workFilesGone());
        EXPECT_FALSE(fs::exists(app / "..mpak"));
        EXPECT_TRUE(filesIn(form.tempPath).empty());
        EXPECT_FALSE(window.busy);
    }
}
