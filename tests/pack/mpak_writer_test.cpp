#include "pack/mpak_writer.h"

#include "fixtures/mpak_builder.h"
#include "pack_fixture.h"

using namespace std::string_literals;

namespace {

class PackItTest : public PackTest {
protected:
    PackItTest() { writeLibraryStoc(""); }  // an empty library .stoc: no groups, no caution box

    void stage(const std::string& stagedName, const std::string& bytes) {
        writeFile(form.tempPath / stagedName, bytes);
    }

    // A refused pack: its box, status 999, the earlier archive kept, nothing left behind.
    void expectRefused(const std::string& description) {
        writeFile(archive(), "earlier archive");
        EXPECT_EQ(PackIt(form), kPackAborted);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "PackIt error.\r\n\r\n" + description);
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
        EXPECT_EQ(readFile(archive()), "earlier archive");
        EXPECT_EQ(filesIn(form.newMpaksPath), std::vector<std::string>{"x.mpak"});
        EXPECT_TRUE(workFilesGone());
        EXPECT_TRUE(filesIn(form.tempPath).empty());
        EXPECT_FALSE(window.busy);
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
    EXPECT_EQ(form.filesPackedCount, 0);
    EXPECT_TRUE(workFilesGone());
    EXPECT_EQ(filesIn(form.newMpaksPath), std::vector<std::string>{"x.mpak"});
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
    EXPECT_EQ(window.statusHistory,
              (std::vector<std::string>{"Packing 1/2: a.txt.5.0.0.unc", "Packing 2/2: b.txt.3.3.0.unc"}));
    EXPECT_EQ(form.filesPackedCount, 2);
    EXPECT_TRUE(filesIn(form.tempPath).empty());
    EXPECT_TRUE(workFilesGone());
}

TEST_F(PackItTest, CompressedStagedFileStoresItsZlibStreamWithoutHeaderAndTrailer) {
    std::string stream;
    for (int i = 0; i < 100; ++i) stream.push_back(static_cast<char>(i));
    stage("c.bin.300.1.0.cmp", stream);
    stage("d.bin.4.1.0.CMP",
          "\x78\x9C"
          "ab");  // any other kind is stored whole
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("c.bin", stream.substr(2, 94), MpakEntryOptions().compressed(1).originalSize(300));
    expected.entry("d.bin",
                   "\x78\x9C"
                   "ab");
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_EQ(readBack().entries[0].entryStoredSize, 94);
}

TEST_F(PackItTest, FlattenedSeparatorsBecomeSlashesAndAPlusOfANameStays) {
    stage("fx+a%2Bb.txt.1.1.0.unc", "z");
    EXPECT_EQ(PackIt(form), kPackDone);
    EXPECT_EQ(readBack().entries.at(0).entryPath, "fx\\a+b.txt");  // the reader shows "/" as "\"
}

TEST_F(PackItTest, EntriesFollowTheByteOrderOfTheStagedNames) {
    for (const char* name : {"b.1.1.0.unc", "\xE9.1.1.0.unc", "a.1.1.0.unc", "B.1.1.0.unc"}) stage(name, "q");
    EXPECT_EQ(PackIt(form), kPackDone);
    std::vector<std::string> order;
    for (const EntrySlot& slot : readBack().entries) order.push_back(slot.entryPath);
    EXPECT_EQ(order, (std::vector<std::string>{"B", "a", "b", "\xE9"}));
}

TEST_F(PackItTest, AutoAddGivesEachNewFileAGroupOfItsNameAndBaseNameAfterTheLibraryGroups) {
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
}

TEST_F(PackItTest, MaintainedLibraryStocGivesNewFilesNoGroupAndNoGroupsGiveABareStocTag) {
    window.autoAdd = false;
    stage("new.txt.1.1.1.unc", "1");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("new.txt", "1");
    EXPECT_EQ(readFile(archive()), expected.build());  // stocSize 4, stocEntryCount 0
    EXPECT_EQ(form.stocEntryCount, 0);
}

TEST_F(PackItTest, LibraryStocGroupsAreReadAsTheLibraryFormatSays) {
    writeLibraryStoc(
        "--comment\r\n"        // 1
        "\r\n"                 // 2
        "[2]\r\n"              // 3
        "a\r\n"                // 4
        "\r\n"                 // 5  empty lines inside a group do not count
        "--not a comment\r\n"  // 6  a name inside a group
        "\r\n"                 // 7  passed over
        "[0]\r\n"              // 8  no names
        "[1]\r\n"              // 9  the line after a group: passed over unseen
        "lost\r\n"             // 10 not a header: skipped
        "[2]\r\n"              // 11
        "b\r\n"                // 12
        "[c\r\n"               // 13 a "[" line inside a group is a name
        "[1]\r\n"              // 14 directly under the group: lost
        "lost too\r\n"         // 15
        "\r\n"                 // 16
        "[1]\r\n"              // 17 a group of one counts like any other
        "solo\r\n\r\n\r\n");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.stocGroup({"a", "--not a comment"}).stocGroup({"b", "[c"}).stocRecord("solo");
    expected.stocEntryCount = 3;
    EXPECT_EQ(readFile(archive()), expected.build());
    std::vector<StocGroup> groups = readBack().stocGroups;
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[2].names, std::vector<std::string>{"solo"});
}

TEST_F(PackItTest, LibraryGroupCutShortByTheEndOfTheFileKeepsTheNamesItHas) {
    writeLibraryStoc("[3]\r\na\r\nb");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.stocGroup({"a", "b"});
    EXPECT_EQ(readFile(archive()), expected.build());
}

TEST_F(PackItTest, NonNumericOrNegativeGroupHeaderShowsItsLineAndAbandonsThePack) {
    for (const char* header : {"[abc]", "[-1]"}) {
        window.messages.clear();
        stage("a.1.1.0.unc", "1");
        writeLibraryStoc("--c\r\n\r\n[2]\r\nn\r\nm\r\n\r\n" + std::string(header) + "\r\nx\r\n\r\n\r\n");
        EXPECT_EQ(PackIt(form), kPackAborted);
        std::string shown = std::string(header).substr(1, std::string(header).size() - 2);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text,
                  shown + "\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 7.");
        EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
        EXPECT_FALSE(fs::exists(archive()));
        EXPECT_TRUE(workFilesGone());
        EXPECT_TRUE(filesIn(form.tempPath).empty());
    }
}

TEST_F(PackItTest, MissingLibraryStocCautionsUnlessTheNameBeginsWithZeroThreeFourOrFive) {
    window.packFolder = "3x.mpak";
    EXPECT_EQ(PackIt(form), kPackDone);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(fs::exists(form.newMpaksPath / "3x.mpak"));

    window.packFolder = "ax.mpak";
    EXPECT_EQ(PackIt(form), kPackDone);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "Caution.\r\n\r\nNo library .stoc file found for this .MPAK.\r\n\r\n"
              "Library .stoc can be created by opening original .MPAK file again.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(fs::exists(form.newMpaksPath / "ax.mpak"));
}

TEST_F(PackItTest, LeftoverWorkFilesOfAnEarlierRunAreReplaced) {
    for (const char* work : {"TOC.bin", "STOC.bin", "RAWD.bin"}) writeFile(app / work, "junk from before");
    stage("a.1.1.0.unc", "1");
    EXPECT_EQ(PackIt(form), kPackDone);
    MpakBuilder expected;
    expected.entry("a", "1");
    EXPECT_EQ(readFile(archive()), expected.build());
    EXPECT_TRUE(workFilesGone());
}

TEST_F(PackItTest, RefusesMoreFilesThanTheReaderHolds) {
    for (int i = 0; i < 10002; ++i) stage("f" + std::to_string(i) + ".0.1.0.unc", "");
    expectRefused("Temp holds 10002 staged files; an archive holds at most 10001 files.");
}

TEST_F(PackItTest, RefusesCopiesAboveTheReadersLimit) {
    stage("a.1.8192.0.unc", "1");
    expectRefused("The staged file name 'a.1.8192.0.unc' has copies field '8192', not a whole number from 0 to 8191.");
}

TEST_F(PackItTest, RefusesAGroupOfMoreThan256Names) {
    std::string text = "[257]\r\n";
    for (int i = 0; i < 257; ++i) text += "n" + std::to_string(i) + "\r\n";
    writeLibraryStoc(text);
    expectRefused("The library .stoc group at line 1 has 257 names; a STOC group holds at most 256.");
}

TEST_F(PackItTest, RefusesAStocNameOver255Bytes) {
    writeLibraryStoc("[2]\r\na\r\n" + std::string(256, 'n'));
    expectRefused("The library .stoc group at line 1: the name '" + std::string(256, 'n') +
                  "' is 256 bytes long; an archive holds names of at most 255 bytes.");
}

TEST_F(PackItTest, RefusesACompressedStagedFileTooShortForAZlibStream) {
    stage("a.1.1.0.cmp",
          "\x78\x9C"
          "ab");
    expectRefused("The staged file 'a.1.1.0.cmp' is 4 bytes long, too short to be a zlib stream.");
}

TEST_F(PackItTest, RefusesACaptionThatWouldLeadOutOfNewMpaks) {
    window.packFolder = "..";
    EXPECT_EQ(PackIt(form), kPackAborted);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "PackIt error.\r\n\r\n'..' is not a plain folder name; the new archive would not lie in NewMPAKs.");
    EXPECT_FALSE(fs::exists(app / "..mpak"));
}
