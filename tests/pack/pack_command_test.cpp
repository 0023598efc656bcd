// "Select .MPAK Folder" and "Pack New .MPAK" with the real zlibc: checks, staging, the writer
// run and the summary, read back through the archive reader and zlib.
#include "fixtures/app_folder.h"
#include "fixtures/archive_contents.h"
#include "fixtures/unreadable_file.h"
#include "fixtures/zlib_reference.h"
#include "format/mpak_records.h"

namespace {

const std::string kTocComments = "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n\r\n";

class PackCommandTest : public AppFolderTest {
protected:
    PackCommandTest() {
        installHelpers({"zlibc"});
        form.packFolderName = "x.mpak";
        library(".stoc", "");  // no groups and no caution
    }
    fs::path archive() const { return form.newMpaksPath / "x.mpak"; }
    fs::path source(const std::string& relative = "") const {
        return form.extractedFilesPath / "x.mpak" / hostPath(relative);  // UTF-8 on every system
    }
    void library(const char* extension, const std::string& text) {
        writeFile(form.libraryPath / ("x.mpak" + std::string(extension)), text);
    }
    // Packs with these library .toc lines; the log.
    std::string pack(const std::string& tocLines) {
        library(".toc", kTocComments + tocLines);
        PackMPAK(form);
        EXPECT_TRUE(filesBelow(form.tempPath).empty());
        EXPECT_FALSE(fs::exists(app / "TOC.bin") || fs::exists(app / "STOC.bin") || fs::exists(app / "RAWD.bin"));
        EXPECT_FALSE(window.busy);
        return form.logText;
    }
    Entries packedFiles() const { return archiveContents(archive()); }
    // What the summary says after the staging and packing lines.
    static std::string summary(int zipped, int packed, int groups, bool complete) {
        std::string text = std::to_string(zipped) + " files zipped.\r\n" + std::to_string(packed) +
                           " files packed.\r\nTOC entries processed: " + std::to_string(packed) +
                           "\r\nSTOC entries processed: " + std::to_string(groups) + "\r\n";
        if (groups == 0) text += "STOC table was not created.\r\n";
        return text + (complete ? ".MPAK pack complete.\r\n" : "Pack operation aborted due to error.\r\n");
    }
};

}  // namespace

TEST_F(PackCommandTest, TheFolderIsChosenInExtractedFilesByItsLastNameAndAnEmptyCaptionAsksForOne) {
    form.packFolderName = "";
    fs::create_directories(form.extractedFilesPath / "sounds.mpak");
    window.folderAnswers = {form.extractedFilesPath / "sounds.mpak" / "", std::nullopt};
    PackMPAK(form);
    EXPECT_EQ(onlyMessage(),
              "No .MPAK folder selected.\r\n\r\nFirst select the extracted .MPAK folder you want to repack.");
    EXPECT_EQ(window.folderPrompts, std::vector<std::string>{"Select .MPAK folder from \\ExtractedFiles"});
    EXPECT_EQ(window.packFolder, "sounds.mpak");
    SelectMPAKFolder(form);  // cancelled
    EXPECT_EQ(window.packFolder, "sounds.mpak");

    // A folder of that name elsewhere is refused: the pack would take ExtractedFiles' one instead.
    TempDir mymod;
    for (const fs::path& elsewhere : {mymod / "sounds.mpak", mymod.path(), form.extractedFilesPath,
                                      form.extractedFilesPath / "sounds.mpak" / "sub"}) {
        fs::create_directories(elsewhere);
        window.messages.clear();
        window.folderAnswers = {elsewhere};
        SelectMPAKFolder(form);
        EXPECT_EQ(onlyMessage(), pathText(elsewhere) +
                                     " is not a folder in ExtractedFiles.\r\n\r\nThe folders that can be packed are "
                                     "the ones extraction makes there, one per archive: " +
                                     pathText(form.extractedFilesPath) + ".");
        EXPECT_EQ(window.packFolder, "sounds.mpak");
    }
}

TEST_F(PackCommandTest, WhatIsNotAFolderInExtractedFilesOrHasNoLibraryTocEndsThePackEarly) {
    writeFile(form.extractedFilesPath / "file.mpak", "not a folder");
    std::vector<std::string> captions = {"nope", "..", "file.mpak", "a/b"};
    if (makeLink(form.extractedFilesPath / "gone", form.extractedFilesPath / "dangling.mpak", false))
        captions.push_back("dangling.mpak");
    writeFile(form.tempPath / "keep.gz", "k");
    for (const std::string& caption : captions) {
        window.messages.clear();
        form.packFolderName = caption;
        PackMPAK(form);
        EXPECT_EQ(onlyMessage(), "\\" + caption + " folder does not exist in \\ExtractedFiles folder.");
    }
    EXPECT_TRUE(fs::exists(form.tempPath / "keep.gz"));  // refused before Temp is touched

    form.packFolderName = "x.mpak";
    writeFile(source("a.txt"), "a");
    fs::create_directories(form.libraryPath / "x.mpak.toc");  // a folder is no library file
    window.messages.clear();
    window.log = "old log";
    PackMPAK(form);
    EXPECT_EQ(onlyMessage(),
              "No library .toc file found for this .MPAK.\r\n\r\nOpen original .MPAK file again to recreate.");
    EXPECT_TRUE(filesBelow(form.tempPath).empty());
    EXPECT_EQ(window.log, "");
    fs::remove(form.libraryPath / "x.mpak.toc");
    for (std::string copies : {"x", "8192", "-1"}) {
        window.messages.clear();
        EXPECT_EQ(pack("01 1 a.txt\r\n00 " + copies + " b.txt"), "Pack operation aborted due to error.\r\n");
        EXPECT_EQ(onlyMessage(), "PackMPAK error.\r\n\r\nLibrary .toc line 4: copies field '" + copies +
                                     "' is not a whole number from 0 to 8191.");
    }
    // More files than an archive holds: refused before anything is staged.
    for (int i = 0; i < kMaxArchiveEntries; ++i) writeFile(source("many/" + std::to_string(i)), "");
    window.messages.clear();
    EXPECT_EQ(pack(""), "Pack operation aborted due to error.\r\n");
    EXPECT_EQ(onlyMessage(),
              "PackMPAK error.\r\n\r\nThe folder holds 10002 files; an archive holds at most 10001, the limit of the "
              "archive format.");
    EXPECT_FALSE(fs::exists(archive()));
}

TEST_F(PackCommandTest, StagesEachFileAsTheLibraryTocSaysAndPacksThemInStagedNameOrder) {
    writeFile(source("a.txt"), "alpha");
    writeFile(source("dup.txt"), "dup");
    writeFile(source("new.txt"), "brand new");
    writeFile(source("Sub/B.dat"), std::string(3000, 'b'));
    writeFile(source("fx+1/a+b.txt"), "plus");
    library(".stoc", "[2]\r\na.txt\r\na");
    // The library is looked up ignoring case; the first line of a path wins.
    EXPECT_EQ(
        pack("00 2 a.txt\r\n  01 1 sub\\b.dat  \r\n00 3 dup.txt\r\n01 1 dup.txt\r\n00 1 FX+1\\A+B.TXT"),
        "Copying 1: a.txt.5.2.0.unc\r\nCopying 2: dup.txt.3.3.0.unc\r\nZipping 3: new.txt.9.1.1.cmp\r\n"
        "Zipping 4: Sub+B.dat.3000.1.0.cmp\r\nCopying 5: fx%2B1+a%2Bb.txt.4.1.0.unc\r\n"
        "Packing 1/5: Sub+B.dat.3000.1.0.cmp\r\nPacking 2/5: a.txt.5.2.0.unc\r\nPacking 3/5: dup.txt.3.3.0.unc\r\n"
        "Packing 4/5: fx%2B1+a%2Bb.txt.4.1.0.unc\r\nPacking 5/5: new.txt.9.1.1.cmp\r\n" +
            summary(2, 5, 2, true));
    EXPECT_EQ(window.statusHistory.at(3), "Zipping 3/5: new.txt.9.1.1.cmp");  // the status line shows the total
    EXPECT_EQ(window.progressHistory.back(), 1.0f);
    EXPECT_EQ(packedFiles(), (Entries{{"Sub\\B.dat", std::string(3000, 'b')},
                                      {"a.txt", "alpha"},
                                      {"dup.txt", "dup"},
                                      {"fx+1\\a+b.txt", "plus"},
                                      {"new.txt", "brand new"}}));

    window.compressAll = true;  // forced compression keeps the library's copies and new-file flag
    EXPECT_TRUE(startsWith(pack("00 2 a.txt"), "Zipping 1: a.txt.5.2.0.cmp\r\n"));
}

TEST_F(PackCommandTest, TheWalkGoesDeeperThanSixteenLevelsFollowsTheChosenLinkButNoLinkInside) {
    std::string deep;
    for (int level = 1; level <= 20; ++level) deep += "d" + std::to_string(level) + "/";
    TempDir elsewhere;
    writeFile(elsewhere / (deep + "deep.txt"), "deep");
    MAKE_LINK_OR_SKIP(form.extractedFilesPath, elsewhere / "inner", true);
    MAKE_LINK_OR_SKIP(elsewhere.path(), form.extractedFilesPath / "x.mpak", true);
    makeLink(elsewhere / (deep + "deep.txt"), elsewhere / "alias.txt", false);  // packs as the file
    EXPECT_NE(pack("").find("Symbolic link not followed: inner\r\n"), std::string::npos);
    Entries expected = {{replaceAll(deep, '/', '\\') + "deep.txt", "deep"}};
    if (fs::exists(elsewhere / "alias.txt")) expected.insert(expected.begin(), {"alias.txt", "deep"});
    EXPECT_EQ(packedFiles(), expected);
}

TEST_F(PackCommandTest, APathPastTwoHundredSixtyCharactersRoundTripsWhileItsNameInTempFitsAndStopsThePackBeyond) {
    // Windows without long paths (wine among them) keeps Temp's whole path under 260 characters;
    // elsewhere a name in Temp takes the file system's 255 bytes. The file's own path passes 260
    // either way: the staged and the wrapped name are its path and 10 more characters.
    const std::size_t limit = longestFileName(form.tempPath);
    ASSERT_GT(limit, 20u);
    auto deepPath = [](std::size_t length) {  // folders of 40 letters, then a file name
        std::string path;
        while (path.size() + 60 < length) path += std::string(40, 'd') + "/";
        return path + std::string(length - path.size() - 4, 'f') + ".txt";
    };
    const std::string fits = deepPath(limit - 10);
    writeFile(source(fits), "fits!");
    ASSERT_GT(pathText(source(fits)).size(), 260u);
    const std::string log = pack("");
    EXPECT_EQ(packedFiles(), (Entries{{replaceAll(fits, '/', '\\'), "fits!"}})) << log;
    fs::remove_all(source());
    loadArchive(archive());
    SelectAll(form);
    MassExtract(form);
    EXPECT_EQ(filesBelow(source()), (Files{{fits, "fits!"}})) << form.logText;

    const std::string packed = readFile(archive());
    const std::string tooLong = deepPath(limit - 9);
    writeFile(source(tooLong), "long!");
    EXPECT_NE(pack("").find("Staging failed: " + replaceAll(tooLong, '/', '\\') + " (its name in Temp would be " +
                            std::to_string(limit + 1) + " bytes long; Temp takes at most " + std::to_string(limit) +
                            ")"),
              std::string::npos);
    EXPECT_EQ(readFile(archive()), packed);
}

TEST_F(PackCommandTest, LinksPlantedOnTheWorkFilesAreReplacedAndTheirTargetsUntouched) {
    TempDir elsewhere;
    writeFile(source("a.txt"), "alpha");
    for (const fs::path& link :
         {app / "TOC.bin", app / "STOC.bin", app / "RAWD.bin", archive(), archive() += ".part"}) {
        writeFile(elsewhere / link.filename(), "victim");
        MAKE_LINK_OR_SKIP(elsewhere / link.filename(), link, false);
    }
    pack("00 1 a.txt");
    EXPECT_EQ(packedFiles(), (Entries{{"a.txt", "alpha"}}));
    EXPECT_FALSE(fs::is_symlink(archive()));
    for (const auto& [name, text] : filesBelow(elsewhere.path())) EXPECT_EQ(text, "victim") << name;
}

TEST_F(PackCommandTest, AKilledRunsUnfinishedWorkFilesAreRemovedAndNeverPackedWhileEveryOtherNamePacks) {
    writeFile(source("a.txt"), "alpha");
    writeFile(source(".vr-notes.tmp"), "a modder's");
    writeFile(source("\xC3\x9C"
                     "ber.txt"),
              "not ASCII");
    for (const fs::path& cut : {source("big/.vr-24437-1.tmp"), source(".zlibc-7.tmp"), source("big/.inflated-3"),
                                form.newMpaksPath / ".vr-99-0.tmp"})
        writeFile(cut, "cut");
    EXPECT_TRUE(startsWith(pack("00 1 a.txt"), "Removed 4 unfinished work files left by an interrupted run.\r\n"));
    EXPECT_EQ(packedFiles(), (Entries{{".vr-notes.tmp", "a modder's"},
                                      {"a.txt", "alpha"},
                                      {"\xC3\x9C"
                                       "ber.txt",
                                       "not ASCII"}}));
    EXPECT_EQ(filesBelow(source()).size(), 3u);
    EXPECT_EQ(filesBelow(form.newMpaksPath).count(".vr-99-0.tmp"), 0u);
}

TEST_F(PackCommandTest, AFileThatCannotBeStagedAbortsThePackSayingWhyAndKeepsTheEarlierArchive) {
    writeFile(archive(), "earlier archive");
    const std::string longPath = std::string(200, 'n') + "\\" + std::string(50, 'n');
    writeFile(source(replaceAll(longPath, '\\', '/')), "long");
    EXPECT_EQ(pack(""), "Staging failed: " + longPath +
                            " (its name in Temp would be 261 bytes long; Temp takes at most " +
                            std::to_string(longestFileName(form.tempPath)) + ")\r\n" + summary(0, 0, 0, false));

    // zlibc that cannot be started (its own reason reaching the log: the identity test below).
    fs::remove_all(source());
    writeFile(source("big.dds"), std::string(100, 'b'));
    fs::rename(app / programFile("zlibc"), app / "away");
    EXPECT_EQ(pack(""), "Zipping 1: big.dds.100.1.1.cmp\r\nStaging failed: big.dds (zlibc could not be started)\r\n" +
                            summary(1, 0, 0, false));
    EXPECT_EQ(readFile(archive()), "earlier archive");

    POSIX_ONLY("a FIFO and names holding '\\'");
    fs::remove_all(source());
    fs::create_directories(source());
    ASSERT_EQ(mkfifo(pathText(source("pipe")).c_str(), 0600), 0);
    EXPECT_EQ(pack("00 1 pipe"), "Staging failed: pipe (it is not a regular file)\r\n" + summary(0, 0, 0, false));

    // Names an archive entry cannot hold as they are: "\\" is its separator, ":" a drive.
    for (const char* name : {"a\\b", "c:d.txt"}) {
        fs::remove_all(source());
        writeFile(source("a/b"), "in a folder");
        writeFile(source(name), "named so outside Windows");
        EXPECT_EQ(pack("00 1 a\\b"),
                  "Staging failed: " + std::string(name) +
                      " (a name on its path holds \"\\\" or \":\", which no archive entry can hold)\r\n" +
                      summary(0, 0, 0, false));
    }
    EXPECT_EQ(readFile(archive()), "earlier archive");
}

TEST_F(PackCommandTest, ABrokenLibraryStocEndsThePackBeforeZlibcRunsAMissingOneCautionsUnlessTheNameIsTheGames) {
    writeFile(source("new.txt"), "compressed as a new file");
    library(".stoc", "[two]\r\na\r\nb");
    EXPECT_EQ(pack(""), summary(0, 0, 0, false));  // no "Zipping" line: zlibc never ran
    EXPECT_EQ(onlyMessage(), "two\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line 1.");
    EXPECT_FALSE(fs::exists(archive()));

    fs::remove(form.libraryPath / "x.mpak.stoc");
    fs::create_directories(form.libraryPath / "x.mpak.stoc");  // a folder is no library file
    window.messages.clear();
    pack("00 1 new.txt");
    EXPECT_EQ(onlyMessage(),
              "Caution.\r\n\r\nNo library .stoc file found for this .MPAK.\r\n\r\n"
              "Library .stoc can be created by opening original .MPAK file again.");
    EXPECT_TRUE(fs::exists(archive()));
    fs::remove(form.libraryPath / "x.mpak.stoc");
    fs::rename(source(), form.extractedFilesPath / "3x.mpak");  // named as the game's own archives
    form.packFolderName = "3x.mpak";
    writeFile(form.libraryPath / "3x.mpak.toc", kTocComments);
    PackMPAK(form);
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(form.newMpaksPath / "3x.mpak"));
}

TEST_F(PackCommandTest, OneShotRunsOneWorkerAndFourGiveTheSameArchiveFilesLogsCountersAndFailures) {
    std::string tocLines;
    for (int i = 0; i < 30; ++i) {
        std::string name = "f" + std::to_string(i % 7) + "/" +
                           (i == 11  ? "nounzip"
                            : i == 5 ? "slow"
                                     : "n" + std::to_string(i));
        writeFile(source(name), std::string(static_cast<std::size_t>(100 * i), static_cast<char>('a' + i % 26)));
        if (i % 3 == 0) tocLines += "00 " + std::to_string(i % 4) + " " + replaceAll(name, '/', '\\') + "\r\n";
    }
    // Packs the folder, then extracts the new archive over it; everything that came out.
    auto run = [&](int helpersAtOnce) {
        form.helperRunsAtOnce = helpersAtOnce;
        std::string packLog = pack(tocLines);
        loadArchive(archive());
        SelectAll(form);
        MassExtract(form);
        return std::tuple{packLog,
                          readFile(archive()),
                          form.logText,
                          form.filesUnzippedCount,
                          form.filesExtractedCount,
                          filesBelow(form.extractedFilesPath)};
    };
    const auto byWorkers = run(1);
    EXPECT_EQ(run(4), byWorkers);

    // A foreign zlibc serves no jobs: each job runs as a process of its own. It passes the
    // jobs to the real one, slowly for "slow", except that it refuses to pack files named
    // "nopack" and to unzip ones named "nounzip".
    POSIX_ONLY("a shell script standing in for zlibc");
    fs::rename(app / "zlibc", app / "real-zlibc");
    auto foreignZlibc = [&](const std::string& refused) {
        writeFile(app / "zlibc", "#!/bin/sh\ncase \"$2\" in *slow*) sleep 0.3;; esac\ncase \"$1$2\" in " + refused +
                                     ") echo 'zlibc: refused' >&2; exit 1;; --serve) echo 'usage' >&2; exit 2;; "
                                     "esac\nexec '" +
                                     (app / "real-zlibc").string() + "' \"$@\"\n");
        fs::permissions(app / "zlibc", fs::perms::owner_all);
    };
    foreignZlibc("-x");
    EXPECT_EQ(run(1), byWorkers);
    window.statusHistory.clear(), window.yields.clear();
    EXPECT_EQ(run(4), byWorkers);
    // The window got its turns while the slow file's line was the last one shown.
    for (const std::string verb : {"Zipping ", "Unzipping "}) {
        auto line = std::find_if(window.statusHistory.begin(), window.statusHistory.end(),
                                 [&](const std::string& s) { return startsWith(s, verb) && s.find("slow") != s.npos; });
        const auto shown = static_cast<std::size_t>(line - window.statusHistory.begin()) + 1;
        EXPECT_GE(std::count(window.yields.begin(), window.yields.end(), shown), 10) << verb;
    }
    foreignZlibc("-k*nopack*|-d*nounzip*");
    EXPECT_EQ(run(1), run(4));
    EXPECT_NE(form.logText.find("Unzip failed (1): x.mpak+f4+nounzip.gz\r\n"), std::string::npos);
    writeFile(source("f3/nopack"), "zlibc refuses this one");  // the staging stops there
    EXPECT_EQ(run(1), run(4));
    EXPECT_NE(std::get<0>(run(4)).find("Staging failed: f3\\nopack (refused)\r\n"), std::string::npos);

    // A zlibc that writes a stream which does not inflate: the save's check keeps the earlier archive.
    fs::remove(source("f3/nopack"));
    const std::string earlier = std::get<1>(run(1));
    installZlibcWritingABrokenStream();
    window.messages.clear();
    pack(tocLines);
    EXPECT_TRUE(startsWith(onlyMessage(), "PackIt error.")) << onlyMessage();
    EXPECT_NE(onlyMessage().find("The new archive failed its check before replacing anything: entry 2, f0\\n14: its "
                                 "compressed data does not inflate."),
              std::string::npos)
        << onlyMessage();
    EXPECT_EQ(readFile(archive()), earlier);
    EXPECT_EQ(filesBelow(form.newMpaksPath).size(), 1u);
}

TEST_F(PackCommandTest, AStoredOnlyPackLetsTheWindowRunAfterEachFileAndEachFinishedSubFolder) {
    std::string folder, tocLines;
    for (int level = 0; level <= 16; ++level) {
        writeFile(source(folder + "f.txt"), "stored");
        tocLines += "00 1 " + replaceAll(folder, '/', '\\') + "f.txt\r\n";
        folder += "d" + std::to_string(level + 1) + "/";
    }
    pack(tocLines);
    // Between the first "Copying" status and the first "Packing" one: after each of the 17 copies,
    // after each finished sub-folder of levels 1 to 14, and once before the writer.
    const std::vector<std::string>& statuses = window.statusHistory;
    auto firstOf = [&](const char* verb) {
        auto at =
            std::find_if(statuses.begin(), statuses.end(), [&](const std::string& s) { return startsWith(s, verb); });
        return static_cast<std::size_t>(at - statuses.begin());
    };
    const std::size_t copying = firstOf("Copying "), packing = firstOf("Packing ");
    ASSERT_LT(packing, statuses.size());
    EXPECT_EQ(std::count_if(window.yields.begin(), window.yields.end(),
                            [&](std::size_t statusesSet) { return statusesSet > copying && statusesSet <= packing; }),
              17 + 14 + 1);
}

TEST_F(PackCommandTest, PackItShowsItsBoxWhileTheWorkFilesAreStillThereAndAnUnreadableStocIsItsFailure) {
    writeFile(source("a.txt"), "alpha");
    writeFile(archive() / "in the way", "");  // a folder holds the new archive's name
    bool workFilesThere = false;
    window.whenMessageShown = [&] {
        workFilesThere = fs::exists(app / "TOC.bin") && !filesBelow(form.tempPath).empty();
    };
    EXPECT_EQ(pack("00 1 a.txt"),
              "Copying 1: a.txt.5.1.0.unc\r\nPacking 1/1: a.txt.5.1.0.unc\r\n" + summary(0, 1, 0, false));
    EXPECT_TRUE(startsWith(onlyMessage(), "PackIt error.\r\n\r\nCannot replace '" + pathText(archive()) + "': "));
    EXPECT_TRUE(workFilesThere);  // and pack() found them gone afterwards

    POSIX_ONLY("a file its owner cannot read");
    fs::remove_all(archive());
    library(".stoc", "[2]\r\na.txt\r\na");
    window.messages.clear();
    const std::string log = [&] {
        UnreadableFile unreadable(form.libraryPath / "x.mpak.stoc");
        return pack("00 1 a.txt");
    }();
    EXPECT_EQ(log, summary(0, 0, 0, false));  // checked before anything is staged
    EXPECT_TRUE(startsWith(onlyMessage(), "PackIt error.\r\n\r\nCannot open '")) << onlyMessage();
    EXPECT_FALSE(fs::exists(archive()));
}
