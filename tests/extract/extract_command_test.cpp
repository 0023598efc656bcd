#include "extract_fixture.h"
#include "fixtures/file_size_limit.h"
#include "shell/commands.h"
#include "shell/open_file_command.h"

namespace {

class MassExtractTest : public ExtractTest {
protected:
    // Loads the entries, selects every line and extracts.
    void extractAll(const std::vector<TestEntry>& entries, const std::string& name = "x.mpak") {
        loadArchive(entries, name);
        SelectAll(form);
        MassExtract(form);
    }
    fs::path out(const std::string& relative) const { return form.extractedFilesPath / "x.mpak" / relative; }
};

TEST_F(MassExtractTest, NoArchiveOrNoSelectionShowsItsNoticeAndExtractsNothing) {
    MassExtract(form);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "No .MPAK file loaded.\r\n\r\nFirst select an .MPAK file you want to extract.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Information);
    ASSERT_EQ(window.prompts.size(), 1u);
    EXPECT_EQ(window.prompts[0].title, kMpakPrompt.title);

    loadArchive({{"a.txt", "a"}});
    MassExtract(form);
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[1].text, "No files selected.");
    EXPECT_TRUE(fs::is_empty(form.extractedFilesPath));
}

TEST_F(MassExtractTest, StoredCompressedNestedAndFolderLessEntriesLandAtTheirPathsBytesUnchanged) {
    std::vector<TestEntry> entries = {{"readme.txt", awkwardBytes(300, 1)},
                                      {"textures\\sky.dds", awkwardBytes(70000, 2), true},
                                      {"textures\\ui\\icons\\hud.tga", awkwardBytes(5000, 3)},
                                      {"sound.bnk", awkwardBytes(1000, 4), true}};
    writeFile(form.tempPath / "stale.gz", "from an earlier command");
    extractAll(entries);

    for (const TestEntry& e : entries) EXPECT_EQ(readFile(out(replaceAll(e.path, '\\', '/'))), e.content) << e.path;
    EXPECT_EQ(filesBelow(form.extractedFilesPath).size(), 4u);
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_EQ(form.logText,
              "Extracting 1\\4: \\readme.txt\r\n"
              "Extracting 2\\4: textures\\sky.dds\r\n"
              "Extracting 3\\4: textures\\ui\\icons\\hud.tga\r\n"
              "Extracting 4\\4: \\sound.bnk\r\n"
              "Unzipping 1\\2: x.mpak+sound.bnk.gz\r\n"
              "Unzipping 2\\2: x.mpak+textures+sky.dds.gz\r\n"
              "2 files unzipped.\r\n"
              "4 files extracted.\r\n"
              "Extraction complete.\r\n");
    EXPECT_EQ(window.log, form.logText);
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_TRUE(window.logFocused);
    EXPECT_EQ(window.status, "");
    EXPECT_EQ(window.progressHistory,
              (std::vector<float>{0.25f, 0.5f, 0.75f, 1, 0.5f, 1}));
}

TEST_F(MassExtractTest, SecondExtractionOfOnlyStoredEntriesReplacesFilesSkipsTheUnzipPassAndShowsOnlyItsLog) {
    extractAll({{"a\\long.bin", std::string(5000, 'L')}, {"packed.bin", std::string(9000, 'P'), true}});
    window.log = form.logText = "TOC = x10, 2 entries\r\n";
    extractAll({{"a\\long.bin", "short"}, {"packed.bin", "tiny"}});
    EXPECT_EQ(readFile(out("a/long.bin")), "short");
    EXPECT_EQ(readFile(out("packed.bin")), "tiny");
    EXPECT_EQ(window.log,
              "Extracting 1\\2: a\\long.bin\r\nExtracting 2\\2: \\packed.bin\r\n"
              "0 files unzipped.\r\n2 files extracted.\r\nExtraction complete.\r\n");
}

TEST_F(MassExtractTest, EmptyEntriesAreEmptyFilesWhereverTheirOffsetsPoint) {
    // A placeholder of no copies and no bytes between compressed entries; its offset is whatever
    // follows it in the TOC. A compressed entry of no bytes has nothing to inflate.
    loadArchive({{"a\\before.dds", "before", true},
                 {"c\\none.bin", ""},
                 {"empty.dds", "", true},
                 {"nothing.dds", ""},
                 {"after.dds", "after", true}});
    form.entries[1].entryDataOffset = 0x434F54C6;
    form.entries[1].entryCopies = 0;
    form.entries[3].entryCompressed = 1;
    SelectAll(form);
    MassExtract(form);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(filesBelow(out("")), (std::map<std::string, std::string>{{"a/before.dds", "before"},
                                                                       {"after.dds", "after"},
                                                                       {"c/none.bin", ""},
                                                                       {"empty.dds", ""},
                                                                       {"nothing.dds", ""}}));
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_TRUE(endsWith(form.logText, "3 files unzipped.\r\n5 files extracted.\r\nExtraction complete.\r\n"));
}

TEST_F(MassExtractTest, PlusInEntryPathAndArchiveNameIsPartOfTheName) {
    extractAll({{"c+d\\e%f+g.dds", "packed+", true}, {"c+d\\plain+.txt", "plain"}}, "a+b.mpak");
    EXPECT_EQ(filesBelow(form.extractedFilesPath),
              (std::map<std::string, std::string>{{"a+b.mpak/c+d/e%f+g.dds", "packed+"},
                                                  {"a+b.mpak/c+d/plain+.txt", "plain"}}));
    EXPECT_NE(form.logText.find("Unzipping 1\\1: a%2Bb.mpak+c%2Bd+e%25f%2Bg.dds.gz\r\n"), std::string::npos)
        << form.logText;
}

TEST_F(MassExtractTest, UnsafePathsAreRefusedAndNothingIsWrittenOutside) {
    fs::create_directories(out(""));
    fs::create_directory_symlink(game.path(), out("link"));
    std::vector<TestEntry> entries;
    for (const char* path : {"..\\escape.txt", "a\\..\\..\\up.txt", "link\\through.txt", "link", "\\"})
        for (bool compressed : {false, true}) entries.push_back({path, "bad", compressed});
    // Empty and "." segments lead nowhere else.
    for (const char* path : {"\\rooted.txt", "a\\\\twice.txt", "a\\.\\dot.txt"}) entries.push_back({path, path, true});
    extractAll(entries);

    EXPECT_EQ(filesBelow(app.path() / "ExtractedFiles"),
              (std::map<std::string, std::string>{{"x.mpak/a/dot.txt", "a\\.\\dot.txt"},
                                                  {"x.mpak/a/twice.txt", "a\\\\twice.txt"},
                                                  {"x.mpak/rooted.txt", "\\rooted.txt"}}));
    EXPECT_EQ(filesBelow(game.path()).size(), 1u);  // the archive alone
    EXPECT_TRUE(startsWith(form.logText,
                           "Refused unsafe path: ..\\escape.txt\r\nRefused unsafe path: ..\\escape.txt\r\n"
                           "Refused unsafe path: a\\..\\..\\up.txt\r\n"));
    EXPECT_NE(form.logText.find("Refused unsafe path: \\\r\nExtracting 1\\13: \\rooted.txt\r\n"), std::string::npos)
        << form.logText;
    EXPECT_TRUE(endsWith(form.logText, "3 files unzipped.\r\n3 files extracted.\r\nExtraction complete.\r\n"));
}

TEST_F(MassExtractTest, AnExtractionFolderThatIsALinkIsRefusedInPlainWords) {
    fs::create_directory_symlink(game.path(), form.extractedFilesPath / "x.mpak");
    extractAll({{"a.txt", "a"}});
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "Extract error.\r\n\r\nExtractedFiles\\x.mpak is a link; extraction does not follow links.");
    EXPECT_FALSE(fs::exists(game / "a.txt"));
}

TEST_F(MassExtractTest, AFullDiskLeavesNoCutShortFileAndKeepsTheEarlierOne) {
    writeFile(out("big.bin"), "earlier");
    loadArchive({{"big.bin", std::string(1500000, 'B')}});
    SelectAll(form);
    {
        FileSizeLimit fullDisk(1000000);
        MassExtract(form);
    }
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(startsWith(window.messages[0].text, "Extract error.\r\n\r\nCannot write '" + out("big.bin").string()))
        << window.messages[0].text;
    EXPECT_EQ(filesBelow(out("")), (std::map<std::string, std::string>{{"big.bin", "earlier"}}));
}

TEST_F(MassExtractTest, NameTooLongForTempIsLoggedAndTheRunGoesOn) {
    // A name an archive can hold (248 bytes) whose Temp name "x.mpak+...gz" is over 255 bytes.
    const std::string path = std::string(200, 'd') + "\\" + std::string(43, 'n') + ".dds";
    extractAll({{path, "compressed", true}, {path + "2", "stored"}});
    EXPECT_EQ(filesBelow(form.extractedFilesPath),
              (std::map<std::string, std::string>{{"x.mpak/" + replaceAll(path, '\\', '/') + "2", "stored"}}));
    EXPECT_TRUE(startsWith(form.logText, "Name too long for Temp: " + path + "\r\nExtracting 1\\2: "));
}

TEST_F(MassExtractTest, MissingZlibcStillDeletesEveryGzAndLogsEachFailure) {
    fs::remove(app / "zlibc");
    extractAll({{"a.dds", "a", true}, {"b\\c.dds", "c", true}, {"d.txt", "d"}});
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_EQ(filesBelow(form.extractedFilesPath), (std::map<std::string, std::string>{{"x.mpak/d.txt", "d"}}));
    EXPECT_NE(form.logText.find("Unzipping 1\\2: x.mpak+a.dds.gz\r\nUnzip failed (-1): x.mpak+a.dds.gz\r\n"
                                "Unzipping 2\\2: x.mpak+b+c.dds.gz\r\nUnzip failed (-1): x.mpak+b+c.dds.gz\r\n"
                                "2 files unzipped.\r\n3 files extracted.\r\n"),
              std::string::npos)
        << form.logText;
}

TEST_F(MassExtractTest, DataOutsideTheArchiveIsSkippedWithALineAndTheRunGoesOn) {
    struct Damage {
        std::int32_t offsetDelta, storedSize;
    };
    for (Damage damage : {Damage{0, 4000}, Damage{100000, 1}, Damage{0, -1}, Damage{-100000, 1}}) {
        SCOPED_TRACE(damage.storedSize);
        loadArchive({{"first.dds", "first", true}, {"second.txt", "second"}, {"third.dds", "third", true}});
        form.entries[1].entryDataOffset += damage.offsetDelta;
        form.entries[1].entryStoredSize = damage.storedSize;
        fs::remove_all(out(""));
        SelectAll(form);
        MassExtract(form);
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(filesBelow(out("")),
                  (std::map<std::string, std::string>{{"first.dds", "first"}, {"third.dds", "third"}}));
        EXPECT_TRUE(fs::is_empty(form.tempPath));
        EXPECT_NE(form.logText.find("Extracting 1\\3: \\first.dds\r\nData past the end of the archive: second.txt\r\n"
                                    "Extracting 2\\3: \\third.dds\r\n"),
                  std::string::npos)
            << form.logText;
        EXPECT_TRUE(endsWith(form.logText, "2 files unzipped.\r\n2 files extracted.\r\nExtraction complete.\r\n"));
    }

    // A download cut short inside its last entry's data gives up that entry only.
    loadArchive({{"first.dds", "first", true}, {"second.txt", "second"}, {"third.txt", "third"}});
    fs::resize_file(form.archivePath, fs::file_size(form.archivePath) - 2);
    fs::remove_all(out(""));
    SelectAll(form);
    MassExtract(form);
    EXPECT_EQ(filesBelow(out("")),
              (std::map<std::string, std::string>{{"first.dds", "first"}, {"second.txt", "second"}}));
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_NE(form.logText.find("Data past the end of the archive: third.txt\r\n"), std::string::npos);
}

TEST_F(MassExtractTest, AListLineWithoutEntryEndsTheCommandWithExtractError) {
    loadArchive({{"a.txt", "a"}});
    window.addListLine("left over");
    window.selection = {1};
    window.log = "before";
    MassExtract(form);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "Extract error.\r\n\r\nList line 1 has no entry in the archive's table (1 entries).");
    EXPECT_EQ(window.log, "before");  // the view is not updated after a failure
    EXPECT_FALSE(window.busy);
}

}  // namespace
