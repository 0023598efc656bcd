#include <sys/stat.h>

#include "common/text.h"
#include "fixtures/file_size_limit.h"
#include "pack/mpak_writer.h"
#include "pack_fixture.h"
#include "shell/commands.h"

namespace {

const std::string kTocComments = "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n\r\n";

class PackCommandTest : public PackTest {
protected:
    PackCommandTest() { writeLibraryStoc(""); }

    // What the summary says after the staging and packing lines.
    static std::string summary(int zipped, int packed, int groups, bool complete) {
        std::string text = std::to_string(zipped) + " files zipped.\r\n" + std::to_string(packed) +
                           " files packed.\r\nTOC entries processed: " + std::to_string(packed) +
                           "\r\nSTOC entries processed: " + std::to_string(groups) + "\r\n";
        if (groups == 0) text += "STOC table was not created.\r\n";
        return text + (complete ? ".MPAK pack complete.\r\n" : "Pack operation aborted due to error.\r\n");
    }
};

using Files = std::vector<std::pair<std::string, std::string>>;

}  // namespace

TEST_F(PackCommandTest, SelectFolderTakesTheLastNameOfTheChosenFolderAndCancelKeepsIt) {
    window.folderAnswers = {fs::path("/games/ExtractedFiles/sounds.mpak/"), std::nullopt};
    SelectMPAKFolder(form);
    EXPECT_EQ(window.folderPrompts, std::vector<std::string>{"Select .MPAK folder from \\ExtractedFiles"});
    EXPECT_EQ(window.packFolder, "sounds.mpak");
    SelectMPAKFolder(form);
    EXPECT_EQ(window.packFolder, "sounds.mpak");
}

TEST_F(PackCommandTest, EmptyCaptionShowsTheNoticeThenThePickerAndDoesNotPack) {
    writeFile(source("a.txt"), "a");
    writeLibraryToc(kTocComments);
    window.packFolder = "";
    window.folderAnswers = {form.extractedFilesPath / "x.mpak"};
    PackMPAK(form);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "No .MPAK folder selected.\r\n\r\nFirst select the extracted .MPAK folder you want to repack.");
    EXPECT_EQ(window.packFolder, "x.mpak");
}

TEST_F(PackCommandTest, FolderThatIsNotAPlainFolderInExtractedFilesIsRefusedBeforeTempIsTouched) {
    writeFile(form.extractedFilesPath / "file.mpak", "not a folder");
    fs::create_symlink(form.extractedFilesPath / "gone", form.extractedFilesPath / "dangling.mpak");
    writeFile(form.tempPath / "keep.gz", "k");
    for (std::string caption : {"nope", "..", "dangling.mpak", "file.mpak", "a/b"}) {
        SCOPED_TRACE(caption);
        window.messages.clear();
        window.packFolder = caption;
        PackMPAK(form);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "\\" + caption + " folder does not exist in \\ExtractedFiles folder.");
    }
    EXPECT_TRUE(fs::exists(form.tempPath / "keep.gz"));
    EXPECT_TRUE(filesIn(form.newMpaksPath).empty());
}

TEST_F(PackCommandTest, AChosenFolderThatIsALinkToAFolderIsPackedButLinksInsideItAreNot) {
    TempDir elsewhere;
    writeFile(elsewhere / "a.txt", "alpha");
    fs::create_directory_symlink(form.extractedFilesPath, elsewhere / "inner");
    fs::create_directories(form.extractedFilesPath);
    fs::create_directory_symlink(elsewhere.path(), form.extractedFilesPath / "x.mpak");
    writeLibraryToc(kTocComments + "00 1 a.txt");
    PackMPAK(form);
    EXPECT_EQ(form.logText,
              "Copying 1: a.txt.5.1.0.unc\r\nSymbolic link not followed: inner\r\n"
              "Packing 1/1: a.txt.5.1.0.unc\r\n" +
                  summary(0, 1, 0, true));
    EXPECT_EQ(packedFiles(), (Files{{"a.txt", "alpha"}}));
}

TEST_F(PackCommandTest, MissingLibraryTocEndsThePackAfterTempStatusAndLogAreEmptied) {
    writeFile(source("a.txt"), "a");
    writeFile(form.tempPath / "old.gz", "o");
    window.status = "old status";
    window.log = "old log";
    PackMPAK(form);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "No library .toc file found for this .MPAK.\r\n\r\nOpen original .MPAK file again to recreate.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(filesIn(form.tempPath).empty());
    EXPECT_EQ(window.status, "");
    EXPECT_EQ(window.log, "");
    EXPECT_FALSE(fs::exists(archive()));
}

TEST_F(PackCommandTest, CopiesFieldThatIsNotAWholeNumberUpTo8191EndsThePackBeforeStaging) {
    writeFile(source("a.txt"), "a");
    for (std::string copies : {"x", "8192", "-1", "1.5"}) {
        SCOPED_TRACE(copies);
        window.messages.clear();
        writeLibraryToc(kTocComments + "01 1 a.txt\r\n00 " + copies + " b.txt");
        PackMPAK(form);
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text, "PackMPAK error.\r\n\r\nLibrary .toc line 4: copies field '" + copies +
                                               "' is not a whole number from 0 to 8191.");
        EXPECT_EQ(window.log, "Pack operation aborted due to error.\r\n");
        EXPECT_TRUE(filesIn(form.tempPath).empty());
        EXPECT_FALSE(fs::exists(archive()));
    }
}

TEST_F(PackCommandTest, StagesEachFileAsTheLibraryTocSaysAndPacksThemInStagedNameOrder) {
    writeFile(source("a.txt"), "alpha");
    writeFile(source("dup.txt"), "dup");
    writeFile(source("new.txt"), "brand new");
    writeFile(source("Sub/B.dat"), std::string(3000, 'b'));
    writeFile(source("empty.txt"), "");
    writeLibraryToc(kTocComments +
                    "00 2 a.txt\r\n  01 1 sub\\b.dat  \r\n00 3 dup.txt\r\n01 1 dup.txt\r\n00 1 empty.txt");
    writeLibraryStoc("[2]\r\na.txt\r\na");
    form.stocEntryCount = 77;  // the open archive's count must not reach the summary
    PackMPAK(form);

    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(form.logText,
              "Copying 1: a.txt.5.2.0.unc\r\n"
              "Copying 2: dup.txt.3.3.0.unc\r\n"
              "Copying 3: empty.txt.0.1.0.unc\r\n"
              "Zipping 4: new.txt.9.1.1.cmp\r\n"
              "Zipping 5: Sub+B.dat.3000.1.0.cmp\r\n"
              "Packing 1/5: Sub+B.dat.3000.1.0.cmp\r\n"
              "Packing 2/5: a.txt.5.2.0.unc\r\n"
              "Packing 3/5: dup.txt.3.3.0.unc\r\n"
              "Packing 4/5: empty.txt.0.1.0.unc\r\n"
              "Packing 5/5: new.txt.9.1.1.cmp\r\n" +
                  summary(2, 5, 2, true));
    EXPECT_EQ(window.log, form.logText);
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_EQ(window.status, "");
    EXPECT_FALSE(window.busy);
    EXPECT_TRUE(filesIn(form.tempPath).empty());
    EXPECT_TRUE(workFilesGone());

    EXPECT_EQ(packedFiles(), (Files{{"Sub\\B.dat", std::string(3000, 'b')},
                                    {"a.txt", "alpha"},
                                    {"dup.txt", "dup"},
                                    {"empty.txt", ""},
                                    {"new.txt", "brand new"}}));
    EXPECT_EQ(readBack().entries[2].entryCopies, 3);
}

TEST_F(PackCommandTest, ForcedCompressionCompressesStoredFilesKeepingTheLibrarysCopiesAndFlag) {
    writeFile(source("a.txt"), "alpha");
    writeLibraryToc(kTocComments + "00 2 a.txt");
    window.compressAll = true;
    PackMPAK(form);
    EXPECT_EQ(form.logText, "Zipping 1: a.txt.5.2.0.cmp\r\nPacking 1/1: a.txt.5.2.0.cmp\r\n" + summary(1, 1, 0, true));
    EXPECT_EQ(packedFiles(), (Files{{"a.txt", "alpha"}}));
}

TEST_F(PackCommandTest, PlusInASourcePathStaysPlusInTheTocNameAndStillMatchesTheLibrary) {
    writeFile(source("fx+1/a+b.txt"), "plus");
    writeLibraryToc(kTocComments + "00 1 FX+1\\a+b.txt");
    PackMPAK(form);
    EXPECT_EQ(form.logText, "Copying 1: fx%2B1+a%2Bb.txt.4.1.0.unc\r\nPacking 1/1: fx%2B1+a%2Bb.txt.4.1.0.unc\r\n" +
                                summary(0, 1, 0, true));
    EXPECT_EQ(packedFiles(), (Files{{"fx+1\\a+b.txt", "plus"}}));
}

TEST_F(PackCommandTest, WalkPacksFilesDeeperThanSixteenLevelsAndDoesNotFollowFolderLinks) {
    std::string deep;
    for (int level = 1; level <= 20; ++level) deep += "d" + std::to_string(level) + "/";
    writeFile(source(deep + "deep.txt"), "deep");
    TempDir elsewhere;
    writeFile(elsewhere / "outside.txt", "outside");
    fs::create_directory_symlink(elsewhere.path(), source("linked"));
    fs::create_symlink(source(deep + "deep.txt"), source("alias.txt"));  // a link to a file packs as that file
    writeLibraryToc(kTocComments);
    PackMPAK(form);
    EXPECT_NE(form.logText.find("Symbolic link not followed: linked\r\n"), std::string::npos);
    EXPECT_EQ(packedFiles(), (Files{{"alias.txt", "deep"}, {replaceAll(deep, '/', '\\') + "deep.txt", "deep"}}));
}

TEST_F(PackCommandTest, LinksPlantedOnTheWorkFilesAreReplacedAndTheirTargetsUntouched) {
    TempDir elsewhere;
    writeFile(source("a.txt"), "alpha");
    writeLibraryToc(kTocComments + "00 1 a.txt");
    const fs::path planted[] = {app / "TOC.bin", app / "STOC.bin", app / "RAWD.bin", archive(),
                                form.newMpaksPath / "x.mpak.part"};
    for (const fs::path& link : planted) {
        writeFile(elsewhere / link.filename(), "victim");
        fs::create_symlink(elsewhere / link.filename(), link);
    }
    PackMPAK(form);
    EXPECT_EQ(packedFiles(), (Files{{"a.txt", "alpha"}}));
    EXPECT_FALSE(fs::is_symlink(archive()));
    for (const fs::path& link : planted) EXPECT_EQ(readFile(elsewhere / link.filename()), "victim") << link;
}

TEST_F(PackCommandTest, MissingZlibcAbortsThePackKeepingTheEarlierArchive) {
    fs::remove(app / "zlibc");
    writeFile(source("a.txt"), "alpha");
    writeFile(source("b.txt"), "beta");
    writeLibraryToc(kTocComments + "00 1 a.txt");
    writeFile(archive(), "earlier archive");
    PackMPAK(form);
    EXPECT_EQ(form.logText,
              "Copying 1: a.txt.5.1.0.unc\r\nZipping 2: b.txt.4.1.1.cmp\r\n"
              "Staging failed: b.txt (zlibc could not be started)\r\n" +
                  summary(1, 0, 0, false));
    EXPECT_EQ(readFile(archive()), "earlier archive");
    EXPECT_TRUE(filesIn(form.tempPath).empty());
    EXPECT_TRUE(workFilesGone());
    EXPECT_FALSE(window.busy);
}

TEST_F(PackCommandTest, FileThatCannotBeStagedAbortsThePackSayingWhy) {
    auto packFolderWith = [&](const std::vector<std::string>& files, const std::string& tocLine) {
        fs::remove_all(source(""));
        for (const std::string& file : files) writeFile(source(file), "staged");
        writeLibraryToc(kTocComments + tocLine);
        PackMPAK(form);
        EXPECT_FALSE(fs::exists(archive()));
        return form.logText;
    };
    fs::create_directories(source(""));
    ASSERT_EQ(mkfifo(source("pipe").c_str(), 0600), 0);
    writeLibraryToc(kTocComments + "00 1 pipe");
    PackMPAK(form);
    EXPECT_EQ(form.logText, "Staging failed: pipe (it is not a regular file)\r\n" + summary(0, 0, 0, false));

    // Two files whose staged names coincide: the second is not dropped without a word.
    EXPECT_EQ(packFolderWith({"a/b", "a\\b"}, "00 1 a\\b"),
              "Copying 1: a+b.6.1.0.unc\r\n"
              "Staging failed: a\\b (another file of the folder has the same name in Temp)\r\n" +
                  summary(0, 0, 0, false));

    const std::string longPath = std::string(200, 'n') + "\\" + std::string(50, 'n');
    EXPECT_EQ(packFolderWith({replaceAll(longPath, '\\', '/')}, "00 1 " + longPath),
              "Staging failed: " + longPath +
                  " (its name in Temp would be 261 bytes long; Temp takes at most 255)\r\n" + summary(0, 0, 0, false));

    // zlibc's own reason reaches the log: here it cannot write its output.
    fs::remove_all(source(""));
    writeFile(source("big.dds"), std::string(100, 'b'));
    {
        FileSizeLimit fullDisk(10);
        PackMPAK(form);
    }
    EXPECT_TRUE(startsWith(form.logText, "Zipping 1: big.dds.100.1.1.cmp\r\nStaging failed: big.dds (cannot write '"))
        << form.logText;
    EXPECT_NE(form.logText.find("File too large)\r\n"), std::string::npos) << form.logText;
}

TEST_F(PackCommandTest, FailedPackItStillWritesTheSummaryOfWhatWasReached) {
    writeFile(source("a.txt"), "alpha");
    writeLibraryToc(kTocComments + "00 1 a.txt");
    writeLibraryStoc("[two]\r\na\r\nb");
    PackMPAK(form);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(form.logText, "Copying 1: a.txt.5.1.0.unc\r\n" + summary(0, 0, 0, false));
    EXPECT_FALSE(fs::exists(archive()));
    EXPECT_TRUE(filesIn(form.tempPath).empty());
}
