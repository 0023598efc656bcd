// "Select All" and "Extract Selected File(s)" with the real zlibc, on archives built byte by
// byte: where each entry lands, the log, and what happens to damaged and hostile entries.

#include "extract/inflate_ahead.h"
#include "extract/unzip_temp_files.h"
#include "fixtures/app_folder.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/unreadable_file.h"
#include "fixtures/zlib_reference.h"

namespace {

class MassExtractTest : public AppFolderTest {
protected:
    MassExtractTest() { installHelpers({"zlibc"}); }

    // The archive written into the `game` folder and loaded; no line is selected.
    void load(const std::vector<TestEntry>& entries) {
        writeFile(game / "x.mpak", archiveOf(entries).build());
        loadArchive(game / "x.mpak");
    }
    void extractAll() {
        SelectAll(form);
        MassExtract(form);
    }
    void extractAll(const std::vector<TestEntry>& entries) { load(entries), extractAll(); }
    fs::path out(const std::string& relative = "") const { return form.extractedFilesPath / "x.mpak" / relative; }
    bool logHas(const std::string& text) const { return form.logText.find(text) != std::string::npos; }

    TempDir game;
};

}  // namespace

TEST_F(MassExtractTest, NoArchiveNoSelectionOrALineWithoutEntryShowsItsBoxAndExtractsNothing) {
    MassExtract(form);
    EXPECT_EQ(onlyMessage(), "No .MPAK file loaded.\r\n\r\nFirst select an .MPAK file you want to extract.");
    load({{"a.txt", "a"}});
    MassExtract(form);
    EXPECT_EQ(window.messages.at(1).text, "No files selected.");
    EXPECT_TRUE(fs::is_empty(form.extractedFilesPath));
    window.addListLine("left over");
    window.selection = {1};
    window.log = "before";
    MassExtract(form);
    EXPECT_EQ(window.messages.at(2).text,
              "Extract error.\r\n\r\nList line 1 has no entry in the archive's table (1 entries).");
    EXPECT_EQ(window.log, "before");  // the view is not updated after a failure
}

TEST_F(MassExtractTest, EntriesLandAtTheirPathsBytesUnchanged) {
    std::vector<TestEntry> entries = {{"readme.txt", awkwardBytes(300, 1)},
                                      {"textures\\sky.dds", awkwardBytes(70000, 2), true},
                                      {"textures\\ui\\hud.tga", awkwardBytes(5000, 3)},
                                      {"sound.bnk", awkwardBytes(1000, 4), true}};
    writeFile(form.tempPath / "stale.gz", "from an earlier command");
    extractAll(entries);
    Files expected;
    for (const TestEntry& e : entries) expected[replaceAll(e.path, '\\', '/')] = e.content;
    EXPECT_EQ(filesBelow(out()), expected);
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_EQ(window.log,
              "Extracting 1\\4: \\readme.txt\r\nExtracting 2\\4: textures\\sky.dds\r\n"
              "Extracting 3\\4: textures\\ui\\hud.tga\r\nExtracting 4\\4: \\sound.bnk\r\n"
              "Unzipping 1\\2: x.mpak+sound.bnk.gz\r\nUnzipping 2\\2: x.mpak+textures+sky.dds.gz\r\n"
              "2 files unzipped.\r\n4 files extracted.\r\nExtraction complete.\r\n");
    EXPECT_EQ(window.progressHistory, (std::vector<float>{0.25f, 0.5f, 0.75f, 1, 0.5f, 1}));
    EXPECT_EQ(window.status, "Results in " + pathText(form.extractedFilesPath / "x.mpak"));
}

TEST_F(MassExtractTest, AModdersEditsAreReplacedOnlyWhenTheModderSaysSo) {
    const std::vector<TestEntry> entries = {
        {"scripts\\main.lua", "print(1)"}, {"tex.dds", "pixels", true}, {"same.txt", "same"}};
    extractAll(entries);
    EXPECT_TRUE(window.questions.empty());  // a first extraction flows as before
    load(entries);
    form.entries[1].entryOriginalSize = 0x7FFFFFF0;  // a claim: the check inflates what is there
    extractAll();
    EXPECT_TRUE(window.questions.empty());  // nor is anything asked over unchanged files

    writeFile(out("scripts/main.lua"), "print(2)");  // edits of the same sizes
    writeFile(out("tex.dds"), "PIXELS");
    window.log = "before";
    extractAll(entries);  // answered No
    EXPECT_EQ(window.questions.at(0),
              "2 extracted files differ from the archive (first: scripts\\main.lua). Replace them with the archive's "
              "copies?");
    EXPECT_EQ(filesBelow(out()),
              (Files{{"same.txt", "same"}, {"scripts/main.lua", "print(2)"}, {"tex.dds", "PIXELS"}}));
    const std::string kept =
        "Nothing extracted: 2 extracted files differ from the archive and were kept (first: scripts\\main.lua).";
    EXPECT_EQ(window.log, kept + "\r\n");  // nothing was done, and the log and status line say so
    EXPECT_EQ(window.status, kept);

    window.yesNoAnswers = {true};
    extractAll(entries);
    EXPECT_EQ(filesBelow(out()),
              (Files{{"same.txt", "same"}, {"scripts/main.lua", "print(1)"}, {"tex.dds", "pixels"}}));

    POSIX_ONLY("a file its owner cannot read");
    UnreadableFile unreadable(out("tex.dds"));
    extractAll(entries);  // answered No: a file that cannot be compared may hold edits
    EXPECT_EQ(window.questions.back(),
              "1 extracted files differ from the archive (first: tex.dds, which cannot be read). Replace them with the "
              "archive's copies?");
}

TEST_F(MassExtractTest, AnotherArchiveOfTheSameNameIsMixedInOnlyWhenTheModderSaysSo) {
    extractAll({{"base.txt", "base"}, {"more\\base2.txt", "base"}});
    writeFile(form.libraryPath / "x.mpak.toc", "00 1 base.txt\r\n00 1 more\\base2.txt\r\n");  // the base's
    const std::vector<TestEntry> patch = {{"patch.txt", "patch", true}, {"base.txt", "patched base"}};
    extractAll(patch);  // answered No
    EXPECT_EQ(window.questions.at(0),
              "ExtractedFiles\\x.mpak holds 1 files that this archive does not list (first: more\\base2.txt): they "
              "may come from another archive named x.mpak, and a pack of the folder would take them in.\r\n\r\n"
              "Library\\x.mpak.toc does not list 1 of this archive's entries (first: patch.txt): it was written for "
              "another archive named x.mpak, and a pack would store those entries as new files.\r\n\r\n"
              "Extract into ExtractedFiles\\x.mpak anyway?");
    EXPECT_EQ(filesBelow(out()), (Files{{"base.txt", "base"}, {"more/base2.txt", "base"}}));
    EXPECT_TRUE(startsWith(window.log, "Nothing extracted: ExtractedFiles\\x.mpak and Library\\x.mpak.toc may "));
    window.yesNoAnswers = {true, true};  // mixed as asked, then the edited base.txt replaced
    extractAll(patch);
    EXPECT_EQ(window.questions.size(), 3u);
    EXPECT_EQ(filesBelow(out()),
              (Files{{"base.txt", "patched base"}, {"more/base2.txt", "base"}, {"patch.txt", "patch"}}));
}

TEST_F(MassExtractTest, EmptyEntriesAreEmptyFilesWhereverTheirOffsetsPoint) {
    // A placeholder of no copies and no bytes between compressed entries; its offset is whatever
    // follows it in the TOC. A compressed entry of no bytes has nothing to inflate.
    load({{"a\\before.dds", "before", true}, {"c\\none.bin", ""}, {"nothing.dds", ""}, {"after.dds", "after", true}});
    form.entries[1].entryDataOffset = 0x434F54C6;
    form.entries[1].entryCopies = 0;
    form.entries[2].entryCompressed = 1;
    extractAll();
    EXPECT_EQ(filesBelow(out()),
              (Files{{"a/before.dds", "before"}, {"after.dds", "after"}, {"c/none.bin", ""}, {"nothing.dds", ""}}));
    EXPECT_TRUE(logHas("2 files unzipped.\r\n4 files extracted.\r\n"));
}

TEST_F(MassExtractTest, UnsafePathsAndALinkedExtractionFolderAreRefusedAndNothingIsWrittenOutside) {
    fs::create_directories(out());
    MAKE_LINK_OR_SKIP(game.path(), out("link"), true);
    std::vector<TestEntry> entries;
    // Rooted paths, drives and streams alike on every platform.
    for (const char* path : {"..\\escape.txt", "a\\..\\..\\up.txt", "link\\through.txt", "link", "\\",
                             "\\evil3.txt", "C:\\evil4.txt", "c:evil5.txt"})
        for (bool compressed : {false, true}) entries.push_back({path, "bad", compressed});
    // Inner empty and "." segments lead nowhere else.
    for (const char* path : {"a\\\\twice.txt", "a\\.\\dot.txt"}) entries.push_back({path, path, true});
    extractAll(entries);
    EXPECT_EQ(filesBelow(form.extractedFilesPath),
              (Files{{"x.mpak/a/dot.txt", "a\\.\\dot.txt"}, {"x.mpak/a/twice.txt", "a\\\\twice.txt"}}));
    EXPECT_EQ(filesBelow(game.path()).size(), 1u);  // the archive alone
    EXPECT_TRUE(
        startsWith(form.logText, "Refused unsafe path: ..\\escape.txt\r\nRefused unsafe path: ..\\escape.txt\r\n"));
    EXPECT_TRUE(logHas("Refused unsafe path: C:\\evil4.txt\r\nRefused unsafe path: C:\\evil4.txt\r\n"));
    EXPECT_TRUE(logHas("Refused unsafe path: c:evil5.txt\r\nExtracting 1\\18: a\\\\twice.txt\r\n"));
    EXPECT_EQ(form.entriesLeftOutCount, 16);

    // The unzip pass refuses a Temp name that would lead out, and leaves what is not ".gz".
    writeFile(form.tempPath / "x.mpak+..+..+evil.gz", "z");
    writeFile(form.tempPath / "x.mpak+f.GZ", "z");
    form.logText.clear();
    UnzipTempFiles(form);
    EXPECT_EQ(form.logText, "Refused unsafe path: x.mpak\\..\\..\\evil\r\n");
    EXPECT_EQ(form.entriesLeftOutCount, 17);
    EXPECT_EQ(filesBelow(form.tempPath), (Files{{"x.mpak+f.GZ", "z"}}));

    // A file the extraction parked that is gone at its turn is reported and not counted.
    fs::remove(form.tempPath / "x.mpak+f.GZ");
    writeFile(form.tempPath / "x.mpak+kept.txt.gz", std::string("\x78\x9C", 2) + rawDeflate("k") + std::string(4, '\0'));
    form.logText.clear();
    form.filesUnzippedCount = form.filesExtractedCount = 2;
    InflateAhead ahead(app / programFile("zlibc"), form.tempPath, 1);
    UnzipTempFiles(form, ahead, {form.tempPath / "x.mpak+gone.txt.gz", form.tempPath / "x.mpak+kept.txt.gz"});
    EXPECT_EQ(form.logText, "Unzipping 1\\2: x.mpak+gone.txt.gz\r\nUnzip failed (gone from Temp): x.mpak+gone.txt.gz\r\n"
                            "Unzipping 2\\2: x.mpak+kept.txt.gz\r\n");
    EXPECT_EQ(filesBelow(out()), (Files{{"a/dot.txt", "a\\.\\dot.txt"}, {"a/twice.txt", "a\\\\twice.txt"}, {"kept.txt", "k"}}));
    EXPECT_EQ(form.filesUnzippedCount, 1);
    EXPECT_EQ(form.filesExtractedCount, 1);
    EXPECT_EQ(form.entriesLeftOutCount, 18);

    // An extraction folder that is itself a link is refused in plain words.
    writeFile(game / "y.mpak", archiveOf({{"a.txt", "a"}}).build());
    loadArchive(game / "y.mpak");
    MAKE_LINK_OR_SKIP(game.path(), form.extractedFilesPath / "y.mpak", true);
    extractAll();
    EXPECT_EQ(onlyMessage(),
              "Extract error.\r\n\r\nExtractedFiles\\y.mpak is a link; extraction does not follow links.");
    EXPECT_FALSE(fs::exists(game / "a.txt"));
}

TEST_F(MassExtractTest, AFullDiskLeavesNoCutShortFileAndKeepsTheEarlierOne) {
    POSIX_ONLY("a file-size limit");
    writeFile(out("big.bin"), "earlier");
    load({{"parked.dds", "p", true}, {"big.bin", std::string(1500000, 'B')}});
    window.yesNoAnswers = {true};
    {
        FileSizeLimit fullDisk(1000000);
        extractAll();
    }
    EXPECT_TRUE(startsWith(onlyMessage(), "Extract error.\r\n\r\nCannot write '" + pathText(out("big.bin"))))
        << onlyMessage();
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(filesBelow(out()), (Files{{"big.bin", "earlier"}}));
    EXPECT_TRUE(fs::is_empty(form.tempPath));  // the failed extraction took its parked file along
}

TEST_F(MassExtractTest, DataOutsideTheArchiveNamesTooLongForTempAndAMissingZlibcAreLoggedAndTheRunGoesOn) {
    // A name an archive can hold (248 bytes) whose Temp name "x.mpak+...gz" is over 255 bytes.
    const std::string path = std::string(200, 'd') + "\\" + std::string(43, 'n') + ".dds";
    extractAll({{path, "compressed", true}, {"stored.txt", "stored"}});
    EXPECT_EQ(filesBelow(out()), (Files{{"stored.txt", "stored"}}));
    EXPECT_TRUE(startsWith(form.logText, "Name too long for Temp: " + path + "\r\nExtracting 1\\2: \\stored.txt"));
    EXPECT_EQ(form.entriesLeftOutCount, 1);

    for (auto [offsetDelta, storedSize] : {std::pair{0, 4000}, {100000, 1}, {0, -1}, {-100000, 1}, {0, 0}}) {
        SCOPED_TRACE(storedSize);
        load({{"first.dds", "first", true}, {"second.txt", "second"}, {"third.dds", "third", true}});
        if (storedSize == 0)  // a download cut short inside its last entry's data
            fs::resize_file(form.archivePath, fs::file_size(form.archivePath) - 2);
        else
            form.entries[1].entryDataOffset += offsetDelta, form.entries[1].entryStoredSize = storedSize;
        fs::remove_all(out());
        extractAll();
        const bool lastCut = storedSize == 0;
        const Files expected = lastCut ? Files{{"first.dds", "first"}, {"second.txt", "second"}}
                                       : Files{{"first.dds", "first"}, {"third.dds", "third"}};
        EXPECT_EQ(filesBelow(out()), expected);
        EXPECT_TRUE(fs::is_empty(form.tempPath));
        EXPECT_TRUE(logHas("Data past the end of the archive: " + std::string(lastCut ? "third.dds" : "second.txt")));
        EXPECT_EQ(form.entriesLeftOutCount, 1);
    }

    fs::remove(app / programFile("zlibc"));  // every .gz is still deleted, and each failure said
    fs::remove_all(out());
    extractAll({{"a.dds", "a", true}, {"b\\c.dds", "c", true}});
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    EXPECT_TRUE(
        logHas("Unzipping 1\\2: x.mpak+a.dds.gz\r\nUnzip failed (-1): x.mpak+a.dds.gz\r\n"
               "Unzipping 2\\2: x.mpak+b+c.dds.gz\r\nUnzip failed (-1): x.mpak+b+c.dds.gz\r\n2 files unzipped."));
    EXPECT_EQ(form.entriesLeftOutCount, 2);  // counted afresh by each extraction
}

// zlibc runs start while entries are still being parked, yet what lands is what runs made one at
// a time at their turns leave: the last of two entries of one path, a compressed entry over a
// stored one of its path, and nothing below the extraction folder when the extraction stops.
// The first entry to claim a place keeps it, on every system alike; the others are refused and
// the rest goes on. Runs started ahead leave what runs at their turns leave.
TEST_F(MassExtractTest, EntriesThatWouldLandOnOneFileAreRefusedAfterTheFirstAndTheRestIsExtracted) {
    form.helperRunsAtOnce = 4;
    extractAll({{"dup.dds", "first", true}, {"mix.dds", "zipped", true}, {"dup.dds", "second", true},
                {"mix.dds", "plain"}, {"Tex\\Sky.txt", "A"}, {"tex\\sky.txt", "a", true}, {"dots\\x.txt", "d"},
                {"dots.\\x.txt", "d."}, {"trail", "t"}, {"trail .", "t "}, {"NUL", "n"}, {"sub\\com1.txt", "c"},
                {"dup", "file"}, {"dup\\x.txt", "x"}, {"\xC3\x89" "a.txt", "E"}, {"\xC3\xA9" "a.txt", "e"},
                {"x.dds", "x", true}});
    EXPECT_EQ(filesBelow(out()), (Files{{"dup.dds", "first"}, {"mix.dds", "zipped"}, {"Tex/Sky.txt", "A"},
                                        {"dots/x.txt", "d"}, {"trail", "t"}, {"dup", "file"}, {"\xC3\x89" "a.txt", "E"},
                                        {"x.dds", "x"}}));
    EXPECT_TRUE(fs::is_empty(form.tempPath));
    for (const char* line :
         {"Refused: dup.dds would overwrite dup.dds\r\n", "Refused: mix.dds would overwrite mix.dds\r\n",
          "Refused: tex\\sky.txt would overwrite Tex\\Sky.txt\r\n", "Refused: dots.\\x.txt would overwrite dots\\x.txt\r\n",
          "Refused: trail . would overwrite trail\r\n", "Refused: NUL names a device on Windows\r\n",
          "Refused: sub\\com1.txt names a device on Windows\r\n", "Refused: dup\\x.txt would overwrite dup\r\n",
          "Refused: \xC3\xA9" "a.txt would overwrite \xC3\x89" "a.txt\r\n", "3 files unzipped.\r\n8 files extracted.\r\n"})
        EXPECT_TRUE(logHas(line)) << line << form.logText;
    EXPECT_EQ(form.entriesLeftOutCount, 9);
    // Again: a refused entry's file is no edit of the modder's (dup.dds holds "first").
    extractAll();
    EXPECT_TRUE(window.questions.empty());
    EXPECT_EQ(form.entriesLeftOutCount, 9);

    // A file of the folder where a folder or a file is wanted keeps that entry out, not the rest.
    fs::remove_all(out());
    writeFile(out("f"), "a file where a folder is wanted");
    fs::create_directories(out("g"));
    writeFile(out("h/.zlibc-4.tmp"), "cut");  // a killed run's: removed before anything is asked
    window.yesNoAnswers = {true};  // "f" is no entry of the archive: asked about, and answered Yes
    extractAll({{"a.dds", "a", true}, {"f\\g.txt", "g"}, {"g", "stored"}, {"b.dds", "b", true}});
    EXPECT_EQ(filesBelow(out()), (Files{{"a.dds", "a"}, {"b.dds", "b"}, {"f", "a file where a folder is wanted"}}));
    EXPECT_TRUE(logHas("Refused: f\\g.txt would overwrite the file f\r\n")) << form.logText;
    EXPECT_TRUE(logHas("Refused: g would overwrite the folder g\r\n")) << form.logText;
    EXPECT_TRUE(startsWith(form.logText, "Removed 1 unfinished work file left by an interrupted run.\r\n"));
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_TRUE(fs::is_empty(form.tempPath));
}
