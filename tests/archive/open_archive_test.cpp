// "Open Game .MPAK File" through a recording window: the log, the list, the entry table, the
// library files and the failure path.
#include <gtest/gtest.h>

#include "archive/process_library.h"
#include "fixtures/example_archive.h"
#include "fixtures/file_size_limit.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"

namespace {

class OpenArchiveTest : public ::testing::Test {
protected:
    OpenArchiveTest() : form(window, app.path()) { createWorkFolders(form); }

    // Writes `bytes` as a game archive and opens it as the user would, through the prompt.
    fs::path open(const std::string& name, const std::string& bytes) {
        writeFile(app / "game" / name, bytes);
        return open(app / "game" / name);
    }
    fs::path open(const fs::path& path) {
        window.fileAnswers.push_back(path);
        SelectMPAKfile(form);
        return path;
    }
    fs::path library(const std::string& name) const { return form.libraryPath / name; }
    std::string lastMessage() const { return window.messages.empty() ? "" : window.messages.back().text; }
    // A failed open shows the error and leaves no archive loaded.
    void expectFailure(const std::string& textStart) {
        ASSERT_EQ(window.messages.size(), 1u);
        EXPECT_EQ(window.messages[0].text.substr(0, textStart.size()), textStart);
        EXPECT_EQ(window.archive, "");
        EXPECT_TRUE(window.list.empty());
        EXPECT_FALSE(window.busy);
    }

    TempDir app;
    RecordingWindow window;
    Form form;
};

}  // namespace

TEST_F(OpenArchiveTest, ListsTheExampleEntryLogsTheChunksAndWritesTheTocOnly) {
    open("sky.mpak", skyArchive().build());

    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.prompts.at(0).title, "Select File [.mpak]");
    EXPECT_EQ(window.archive, "sky.mpak");
    EXPECT_EQ(window.list, (std::vector<std::string>{kSkyListLine}));
    EXPECT_EQ(window.itemCount, "1 Items");
    EXPECT_EQ(window.log, "TOC = x10, 1 entries\r\nSTOC = x37, 0 entries\r\nRAWD = x3B\r\n\r\n");
    EXPECT_EQ(window.caret, Caret::Start);  // without STOC groups the log is not shown again
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(form.entryCount, 1);

    EXPECT_EQ(readFile(library("sky.mpak.toc")), kTocIntro + "\r\n01 1 textures\\sky.tga");
    EXPECT_FALSE(fs::exists(library("sky.mpak.stoc")));
    // No temporary file is left beside the .toc.
    EXPECT_EQ(std::distance(fs::directory_iterator(form.libraryPath), fs::directory_iterator()), 1);
}

TEST_F(OpenArchiveTest, WritesTheStocGroupsAndShowsTheLogWithTheCaretAtTheEnd) {
    MpakBuilder b;
    b.entry("effects/smoke.fx", "smoke", MpakEntryOptions().copies(0));
    b.entry("textures/sky.tga", "sky", MpakEntryOptions().copies(3));
    b.stocGroup({"textures/sky.tga", "sky.tga"}).stocRecord("effects/smoke.fx").stocGroup({"a/b", "b", "c/b"});
    b.stocEntryCount = 3;
    open("Mixed.MPAK", b.build());

    ASSERT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_EQ(window.log, "TOC = x10, 2 entries\r\nSTOC = x5E, 3 entries\r\nRAWD = xA0\r\n\r\n");
    // copies 0: the offset is the next entry's first four bytes (entryLength 27, then storedSize 3).
    EXPECT_EQ(window.list, (std::vector<std::string>{"000300BB 000300BF 00000005 00000005 00 0 effects\\smoke.fx",
                                                     "000000A4 000000A6 00000003 00000003 00 3 textures\\sky.tga"}));
    EXPECT_EQ(readFile(library("Mixed.MPAK.toc")), kTocIntro + "\r\n00 0 effects\\smoke.fx\r\n00 3 textures\\sky.tga");
    EXPECT_EQ(readFile(library("Mixed.MPAK.stoc")),
              kStocIntro +
                  "\r\n[2]\r\ntextures/sky.tga\r\nsky.tga\r\n\r\n[1]\r\neffects/smoke.fx\r\n\r\n"
                  "[3]\r\na/b\r\nb\r\nc/b");
}

TEST_F(OpenArchiveTest, AnArchiveWithoutEntriesListsNothingAndItsTocEndsWithTheComments) {
    open("empty.mpak", MpakBuilder().build());
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.itemCount, "0 Items");
    EXPECT_EQ(window.log, "TOC = x10, 0 entries\r\nSTOC = x14, 0 entries\r\nRAWD = x18\r\n\r\n");
    EXPECT_EQ(readFile(library("empty.mpak.toc")), kTocIntro.substr(0, kTocIntro.size() - 2));
    EXPECT_FALSE(fs::exists(library("empty.mpak.stoc")));
}

TEST_F(OpenArchiveTest, LibraryFilesAreLeftAsTheUserEditedThemOnASecondOpen) {
    fs::path path = open("edit.mpak", MpakBuilder().entry("a.txt", "a").stocGroup({"a.txt", "a.txt"}).build());
    writeFile(library("edit.mpak.toc"), "--mine\r\n00 9 a.txt\r\n");
    writeFile(library("edit.mpak.stoc"), "[1]\r\nmine");
    open(path);
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(readFile(library("edit.mpak.toc")), "--mine\r\n00 9 a.txt\r\n");
    EXPECT_EQ(readFile(library("edit.mpak.stoc")), "[1]\r\nmine");
    // A deleted file is written afresh; the other stays.
    fs::remove(library("edit.mpak.stoc"));
    open(path);
    EXPECT_EQ(readFile(library("edit.mpak.stoc")), kStocIntro + "\r\n[2]\r\na.txt\r\na.txt");
    EXPECT_EQ(readFile(library("edit.mpak.toc")), "--mine\r\n00 9 a.txt\r\n");
}

TEST_F(OpenArchiveTest, TheListExtentGrowsWithTheLongestLineAndNeverShrinks) {
    std::string narrow = MpakBuilder().entry("n", "n").build();
    open("narrow.mpak", narrow);
    EXPECT_EQ(window.listExtent, 41 + 1);
    open("wide.mpak", MpakBuilder().entry(std::string(100, 'w'), "w").build());
    EXPECT_EQ(window.listExtent, 141);
    open("narrow.mpak", narrow);
    EXPECT_EQ(window.list.size(), 1u);
    EXPECT_EQ(window.listExtent, 141);
}

TEST_F(OpenArchiveTest, TenThousandAndOneEntriesLoadWithProgressAndItemCount) {
    MpakBuilder b;
    for (int i = 0; i < 10001; ++i) b.entry("dir/file" + std::to_string(i) + ".dat", "d");
    open("big.mpak", b.build());
    ASSERT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.list.size(), 10001u);
    EXPECT_EQ(window.itemCount, "10001 Items");
    EXPECT_EQ(window.list[10000].substr(36), "00 1 dir\\file10000.dat");
    ASSERT_EQ(window.progressHistory.size(), 10001u);
    EXPECT_EQ(window.progressHistory.back(), 1.0f);
}

TEST_F(OpenArchiveTest, TenThousandAndTwoEntriesFailAndUnloadThePreviousArchive) {
    open("good.mpak", skyArchive().build());
    ASSERT_EQ(window.list.size(), 1u);
    MpakBuilder b;
    for (int i = 0; i < 10002; ++i) b.entry("f", "");
    open("huge.mpak", b.build());
    expectFailure("ProcessLibrary error.\r\n\r\nThe TOC lists 10002 entries; at most 10001 can be loaded.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
    EXPECT_EQ(window.itemCount, "0 Items");
    // The chunk lines were logged before the tables failed.
    EXPECT_EQ(window.log, "TOC = x10, 10002 entries\r\nSTOC = x30D7C, 0 entries\r\nRAWD = x30D80\r\n\r\n");
    EXPECT_FALSE(fs::exists(library("huge.mpak.toc")));
}

TEST_F(OpenArchiveTest, ACompressedByteOf100DoesNotFitItsFieldAndEndsTheOpen) {
    open("odd.mpak", MpakBuilder().entry("odd", "1", MpakEntryOptions().compressed(99)).build());
    EXPECT_EQ(window.list.at(0), "00000032 00000032 00000001 00000001 99 1 odd");
    open("flag.mpak",
         MpakBuilder().entry("ok", "1").entry("bad/flag", "2", MpakEntryOptions().compressed(100)).build());
    expectFailure(
        "ProcessLibrary error.\r\n\r\nOverflow: the compressed byte of bad\\flag (100) does not fit the list's "
        "2-digit field.");
    EXPECT_FALSE(fs::exists(library("flag.mpak.toc")));
}

TEST_F(OpenArchiveTest, AMissingFileIsReportedAndNotCreated) {
    fs::path missing = open(app / "game" / "gone.mpak");
    expectFailure("ProcessLibrary error.\r\n\r\nCannot get the size of '");
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(OpenArchiveTest, ALibraryFileThatCannotBeWrittenFailsTheOpenAndTheTocStays) {
    MpakBuilder b;
    for (char c = 'a'; c < 'k'; ++c) b.stocGroup({std::string(200, c), "x"});  // a .stoc over 2000 bytes
    std::string bytes = b.build();
    writeFile(app / "game" / "blocked.mpak", bytes);
    {
        FileSizeLimit fullDisk(2000);
        open(app / "game" / "blocked.mpak");
    }
    expectFailure("ProcessLibrary error.\r\n\r\nCannot write '");
    EXPECT_TRUE(fs::exists(library("blocked.mpak.toc")));
    EXPECT_FALSE(fs::exists(library("blocked.mpak.stoc")));
    EXPECT_EQ(std::distance(fs::directory_iterator(form.libraryPath), fs::directory_iterator()), 1);
}

TEST_F(OpenArchiveTest, AStocWithFewerGroupsThanPromisedOpensWithThoseAndSaysSo) {
    MpakBuilder b;
    b.entry("a.txt", "a").stocGroup({"a.txt", "a.txt"});
    b.stocEntryCount = 2;
    open("short.mpak", b.build());
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.list.size(), 1u);
    EXPECT_EQ(window.log,
              "TOC = x10, 1 entries\r\nSTOC = x2C, 2 entries\r\nRAWD = x40\r\n\r\n"
              "STOC holds only 1 of 2 groups.\r\n");
    EXPECT_EQ(readFile(library("short.mpak.stoc")), kStocIntro + "\r\n[2]\r\na.txt\r\na.txt");
}

TEST_F(OpenArchiveTest, AnArchiveNameHoldingAColonOpensWhereTheSystemAllowsIt) {
    open("my:mod.mpak", skyArchive().build());
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_TRUE(fs::exists(library("my:mod.mpak.toc")));
}
