// "Open Game .MPAK File" through a recording window: the log, the list, the entry table, the
// library files and the failure path.
#include <gtest/gtest.h>

#include "archive/process_library.h"
#include "fixtures/mpak_builder.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"

namespace {

const std::string kTocIntro =
    "--Comment lines start with double (--) dashes\r\n"
    "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n"
    "--Field 2: # of copies of file packed in raw data (RAWD) area. Probably also # of copies of file maintained "
    "in memory by the game.\r\n"
    "--Field 3: File path.\r\n"
    "--It is possible to add new file references to this table if you wish.\r\n"
    "--However, Vantrel Ripper will automatically add new files to the .MPAK. By default, they will be compressed "
    "(01), 1 copy.\r\n";

const std::string kStocIntro =
    "--Comment lines start with double (--) dashes.\r\n"
    "--[x] # of files in the next group.\r\n"
    "--At least 2 file entries are always present.\r\n"
    "--1st file entry is always file path.\r\n"
    "--2nd file entry is usually file name but can be file path.\r\n"
    "--3rd file entry (if present) is usually file path.\r\n"
    "--File entries probably indicate path pointers to a common file.\r\n"
    "--It is possible to add new file references to this table if you wish, and necessary if you add new files "
    "to the game.\r\n";

// The example entry: 0xA4C stored bytes of a 0x2000-byte file, data at 0xE6B4.
MpakBuilder skyArchive() {
    MpakBuilder b;
    std::int32_t rawdStart = 16 + (4 + 15 + 16 + 4) + 4;
    b.entry("textures/sky.tga", std::string(0xA4C, '\x5A'),
            MpakEntryOptions().compressed(1).originalSize(0x2000).rawdOffset(0xE6B4 - rawdStart));
    return b;
}

class OpenArchiveTest : public ::testing::Test {
protected:
    OpenArchiveTest() : form(window, app.path()) { createWorkFolders(form); }

    fs::path archive(const std::string& name, const std::string& bytes) {
        fs::path path = app / "game" / name;
        writeFile(path, bytes);
        return path;
    }
    // Opens `path` as the user would, through the prompt.
    void open(const fs::path& path) {
        window.fileAnswers.push_back(path);
        SelectMPAKfile(form);
    }
    fs::path library(const std::string& name) const { return form.libraryPath / name; }
    std::string lastMessage() const { return window.messages.empty() ? "" : window.messages.back().text; }

    TempDir app;
    RecordingWindow window;
    Form form;
};

}  // namespace

TEST_F(OpenArchiveTest, ListsTheExampleEntryLogsTheChunksAndWritesTheToc) {
    fs::path path = archive("sky.mpak", skyArchive().build());
    open(path);

    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    ASSERT_EQ(window.prompts.size(), 1u);
    EXPECT_EQ(window.prompts[0].title, "Select File [.mpak]");
    EXPECT_EQ(window.archive, "sky.mpak");
    EXPECT_EQ(form.archivePath, path);
    EXPECT_EQ(window.list, (std::vector<std::string>{"0000E6B4 0000F0FF 00000A4C 00002000 01 1 textures\\sky.tga"}));
    EXPECT_EQ(window.itemCount, "1 Items");
    EXPECT_EQ(window.log, "TOC = x10, 1 entries\r\nSTOC = x37, 0 entries\r\nRAWD = x3B\r\n\r\n");
    EXPECT_EQ(window.caret, Caret::Start);  // without STOC groups the log is not shown again
    EXPECT_EQ(form.logText, window.log);
    EXPECT_EQ(window.listExtent, 57 * 90 / 15 + 130);  // 57 characters, 6 pixels each, plus 130
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(window.progressHistory, (std::vector<float>{3495}));

    EXPECT_EQ(form.tocSize, 39);
    EXPECT_EQ(form.stocSize, 4);
    EXPECT_EQ(form.tocStart, 20);
    EXPECT_EQ(form.stocStart, 59);
    EXPECT_EQ(form.rawdStart, 0x3B);
    ASSERT_EQ(form.entryCount, 1);
    EXPECT_EQ(form.entries[0].entryDataOffset, 0xE6B4);
    EXPECT_EQ(form.entries[0].entryPath, "textures\\sky.tga");

    EXPECT_EQ(readFile(library("sky.mpak.toc")), kTocIntro + "\r\n01 1 textures\\sky.tga");
    EXPECT_EQ(form.tocLibraryText, kTocIntro + "\r\n01 1 textures\\sky.tga\r\n");
    EXPECT_FALSE(fs::exists(library("sky.mpak.stoc")));
    EXPECT_EQ(form.stocLibraryText, "");
    // Nothing but the two library files' final names is left in Library.
    EXPECT_EQ(std::distance(fs::directory_iterator(form.libraryPath), fs::directory_iterator()), 1);
}

TEST_F(OpenArchiveTest, WritesTheStocGroupsAndShowsTheLogWithTheCaretAtTheEnd) {
    MpakBuilder b;
    b.entry("effects/smoke.fx", "smoke", MpakEntryOptions().copies(0));
    b.entry("textures/sky.tga", "sky", MpakEntryOptions().copies(3));
    b.stocGroup({"textures/sky.tga", "sky.tga"}).stocRecord("effects/smoke.fx").stocGroup({"a/b", "b", "c/b"});
    b.stocEntryCount = 3;
    open(archive("Mixed.MPAK", b.build()));

    ASSERT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_EQ(window.log, "TOC = x10, 2 entries\r\nSTOC = x5E, 3 entries\r\nRAWD = xA0\r\n\r\n");
    ASSERT_EQ(window.list.size(), 2u);
    // copies 0: the offset is the next entry's first four bytes (entryLength 27, then storedSize 3).
    std::int32_t offset = 0xA0 + (27 + (3 << 16));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%08X %08X 00000005 00000005 00 0 effects\\smoke.fx", offset, offset + 4);
    EXPECT_EQ(window.list[0], expected);
    EXPECT_EQ(window.list[1], "000000A4 000000A6 00000003 00000003 00 3 textures\\sky.tga");
    EXPECT_EQ(readFile(library("Mixed.MPAK.toc")), kTocIntro + "\r\n00 0 effects\\smoke.fx\r\n00 3 textures\\sky.tga");
    EXPECT_EQ(readFile(library("Mixed.MPAK.stoc")),
              kStocIntro +
                  "\r\n[2]\r\ntextures/sky.tga\r\nsky.tga\r\n\r\n[1]\r\neffects/smoke.fx\r\n\r\n"
                  "[3]\r\na/b\r\nb\r\nc/b");
}

TEST_F(OpenArchiveTest, AnArchiveWithoutEntriesListsNothingAndItsTocEndsWithTheComments) {
    open(archive("empty.mpak", MpakBuilder().build()));
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.archive, "empty.mpak");
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.itemCount, "0 Items");
    EXPECT_EQ(window.log, "TOC = x10, 0 entries\r\nSTOC = x14, 0 entries\r\nRAWD = x18\r\n\r\n");
    EXPECT_TRUE(window.progressHistory.empty());
    EXPECT_EQ(readFile(library("empty.mpak.toc")), kTocIntro.substr(0, kTocIntro.size() - 2));
    EXPECT_FALSE(fs::exists(library("empty.mpak.stoc")));
}

TEST_F(OpenArchiveTest, LibraryFilesAreLeftAsTheUserEditedThemOnASecondOpen) {
    MpakBuilder b;
    b.entry("a.txt", "a").stocGroup({"a.txt", "a.txt"});
    fs::path path = archive("edit.mpak", b.build());
    open(path);
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
    MpakBuilder wide;
    wide.entry(std::string(100, 'w'), "w");
    MpakBuilder narrow;
    narrow.entry("n", "n");
    open(archive("narrow.mpak", narrow.build()));
    EXPECT_EQ(window.listExtent, (41 + 1) * 6 + 130);
    open(archive("wide.mpak", wide.build()));
    EXPECT_EQ(form.maxItemLength, 41 + 100);
    EXPECT_EQ(window.listExtent, 141 * 6 + 130);
    open(archive("narrow.mpak", narrow.build()));
    EXPECT_EQ(window.list.size(), 1u);
    EXPECT_EQ(window.listExtent, 141 * 6 + 130);
}

TEST_F(OpenArchiveTest, TenThousandAndOneEntriesLoadWithProgressAndItemCount) {
    MpakBuilder b;
    for (int i = 0; i < 10001; ++i) b.entry("dir/file" + std::to_string(i) + ".dat", "d");
    open(archive("big.mpak", b.build()));
    ASSERT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.list.size(), 10001u);
    EXPECT_EQ(window.itemCount, "10001 Items");
    EXPECT_EQ(window.list[10000].substr(36), "00 1 dir\\file10000.dat");
    ASSERT_EQ(window.progressHistory.size(), 10001u);
    EXPECT_FLOAT_EQ(window.progressHistory[0], 3495.0f / 10001);
    EXPECT_FLOAT_EQ(window.progressHistory[4999], 3495.0f * 5000 / 10001);
    EXPECT_EQ(window.progressHistory.back(), 3495.0f);
}

TEST_F(OpenArchiveTest, AFailedOpenLeavesNoArchiveLoadedAndWritesNoLibraryFile) {
    open(archive("good.mpak", skyArchive().build()));
    ASSERT_EQ(window.list.size(), 1u);

    MpakBuilder b;
    for (int i = 0; i < 10002; ++i) b.entry("f", "");
    open(archive("huge.mpak", b.build()));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "ProcessLibrary error.\r\n\r\nThe TOC lists 10002 entries; at most 10001 can be loaded.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
    EXPECT_EQ(window.archive, "");
    EXPECT_TRUE(window.list.empty());
    EXPECT_EQ(window.itemCount, "0 Items");
    EXPECT_FALSE(window.busy);
    // The chunk lines were logged before the tables failed.
    EXPECT_EQ(window.log, "TOC = x10, 10002 entries\r\nSTOC = x30D7C, 0 entries\r\nRAWD = x30D80\r\n\r\n");
    EXPECT_FALSE(fs::exists(library("huge.mpak.toc")));
}

TEST_F(OpenArchiveTest, ACompressedByteOf100DoesNotFitItsFieldAndEndsTheOpen) {
    MpakBuilder b;
    b.entry("ok", "1").entry("bad/flag", "2", MpakEntryOptions().compressed(100));
    open(archive("flag.mpak", b.build()));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text,
              "ProcessLibrary error.\r\n\r\nOverflow: the compressed byte of bad\\flag (100) does not fit the list's "
              "2-digit field.");
    EXPECT_TRUE(window.list.empty());
    EXPECT_FALSE(fs::exists(library("flag.mpak.toc")));

    MpakBuilder ninetyNine;
    ninetyNine.entry("odd", "1", MpakEntryOptions().compressed(99));
    window.messages.clear();
    open(archive("odd.mpak", ninetyNine.build()));
    EXPECT_TRUE(window.messages.empty()) << lastMessage();
    EXPECT_EQ(window.list.at(0), "00000032 00000032 00000001 00000001 99 1 odd");
}

TEST_F(OpenArchiveTest, AMissingFileIsReportedAndNotCreated) {
    fs::path missing = app / "game" / "gone.mpak";
    open(missing);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text.rfind("ProcessLibrary error.\r\n\r\nCannot get the size of '", 0), 0u)
        << window.messages[0].text;
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(window.archive, "");
}

TEST_F(OpenArchiveTest, ALibraryFileThatCannotBeWrittenFailsTheOpenAndTheTocStays) {
    MpakBuilder b;
    b.entry("a", "a").stocGroup({"a", "a"});
    fs::create_directory(library("blocked.mpak.stoc.part"));  // the temporary name is taken by a folder
    writeFile(library("blocked.mpak.stoc.part") / "x", "x");
    open(archive("blocked.mpak", b.build()));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text.rfind("ProcessLibrary error.\r\n\r\nCannot create '", 0), 0u)
        << window.messages[0].text;
    EXPECT_TRUE(fs::exists(library("blocked.mpak.toc")));
    EXPECT_FALSE(fs::exists(library("blocked.mpak.stoc")));
    EXPECT_EQ(window.archive, "");
    EXPECT_TRUE(window.list.empty());
}

TEST_F(OpenArchiveTest, CancellingThePromptChangesNothing) {
    open(archive("sky.mpak", skyArchive().build()));
    std::string log = window.log;
    SelectMPAKfile(form);  // no answer scripted: cancelled
    EXPECT_EQ(window.prompts.size(), 2u);
    EXPECT_EQ(window.archive, "sky.mpak");
    EXPECT_EQ(window.list.size(), 1u);
    EXPECT_EQ(window.log, log);
    EXPECT_TRUE(window.messages.empty());
}
