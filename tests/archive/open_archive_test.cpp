// "Open Game .MPAK File" through a recording window: the log, the list, the library files and
// the failure path.

#include "common/paths.h"
#include "fixtures/app_folder.h"
#include "fixtures/example_archive.h"
#include "fixtures/file_size_limit.h"

namespace {

class OpenArchiveTest : public AppFolderTest {
protected:
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
    // A failed open shows the error and leaves no archive loaded.
    void expectFailure(const std::string& textStart) {
        EXPECT_TRUE(onlyMessage().starts_with(textStart)) << onlyMessage();
        EXPECT_EQ(window.archive, "");
        EXPECT_TRUE(window.list.empty());
        EXPECT_EQ(window.itemCount, "0 Items");
        EXPECT_FALSE(window.busy);
    }
};

}  // namespace

TEST_F(OpenArchiveTest, ListsLogsAndWritesTheLibraryFilesOnlyWhereAbsentAndTheListExtentNeverShrinks) {
    open("sky.mpak", skyArchive().build());
    EXPECT_EQ(onlyMessage(), "");
    EXPECT_EQ(window.list, (std::vector<std::string>{kSkyListLine}));
    EXPECT_EQ(window.itemCount, "1 Items");
    EXPECT_EQ(window.listExtent, static_cast<int>(kSkyListLine.size()));
    EXPECT_EQ(window.log, "TOC = x10, 1 entries\r\nSTOC = x37, 0 entries\r\nRAWD = x3B\r\n\r\n");
    EXPECT_EQ(window.caret, Caret::Start);  // without STOC groups the log is not shown again
    EXPECT_EQ(filesBelow(form.libraryPath),
              (std::map<std::string, std::string>{{"sky.mpak.toc", kTocIntro + "\r\n01 1 textures\\sky.tga"}}));

    // With groups, the .stoc too, of the groups the STOC holds when it promises more; a second open
    // leaves what the user edited, rewrites a deleted file.
    const std::string name = kDriveCharacters.empty() ? "edit:me.mpak" : "edit me.mpak";  // ':' is a drive on Windows
    MpakBuilder b;
    b.entry("a.txt", "a").stocGroup({"a.txt", "a.txt"}).stocEntryCount = 2;
    fs::path path = open(name, b.build());
    EXPECT_EQ(window.log,
              "TOC = x10, 1 entries\r\nSTOC = x2C, 2 entries\r\nRAWD = x40\r\n\r\nSTOC holds only 1 of 2 groups.\r\n");
    EXPECT_EQ(window.caret, Caret::End);
    EXPECT_EQ(window.listExtent, static_cast<int>(kSkyListLine.size()));  // a shorter line does not narrow it
    writeFile(library(name + ".toc"), "--mine\r\n00 1 other.txt");
    fs::remove(library(name + ".stoc"));
    open(path);
    EXPECT_EQ(readFile(library(name + ".toc")), "--mine\r\n00 1 other.txt");
    EXPECT_EQ(readFile(library(name + ".stoc")), kStocIntro + "\r\n[2]\r\na.txt\r\na.txt");
    // A .toc that lacks this archive's entries was written for another archive of its name.
    EXPECT_TRUE(endsWith(window.log, "groups.\r\nLibrary\\" + name + ".toc does not list 1 of this archive's "
                                     "entries (first: a.txt): it was written for another archive named " + name +
                                     ".\r\n"));
}

TEST_F(OpenArchiveTest, TenThousandAndOneEntriesLoadAndOneMoreAMissingFileOrAFullDiskFailUnloadingThePreviousArchive) {
    MpakBuilder b;
    for (int i = 0; i < 10001; ++i) b.entry("dir/file" + std::to_string(i) + ".dat", "d");
    open("big.mpak", b.build());
    EXPECT_EQ(window.itemCount, "10001 Items");
    EXPECT_EQ(window.list.at(10000).substr(36), "00 1 dir\\file10000.dat");
    EXPECT_EQ(window.progressHistory.back(), 1.0f);

    open("huge.mpak", b.entry("one/more", "").build());
    expectFailure(
        "ProcessLibrary error.\r\n\r\nThe TOC lists 10002 entries; an archive holds at most 10001, the limit of the "
        "archive format.");
    EXPECT_FALSE(fs::exists(library("huge.mpak.toc")));

    // What does not begin as every archive does is said to be no archive.
    using namespace std::string_literals;
    for (const std::string& bytes : {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0"s, "a text file\r\n"s, "MPA"s}) {
        window.messages.clear();
        const fs::path notArchive = open("picture.mpak", bytes);
        expectFailure("ProcessLibrary error.\r\n\r\n'" + pathText(notArchive) +
                      "' is not an MPAK archive: it does not begin with the bytes \"MPAK\" that every archive begins "
                      "with.");
    }

    window.messages.clear();
    EXPECT_FALSE(fs::exists(open(app / "game" / "gone.mpak")));
    expectFailure("ProcessLibrary error.\r\n\r\nCannot get the size of '");

    POSIX_ONLY("a file-size limit");
    window.messages.clear();
    MpakBuilder groups;
    for (char c = 'a'; c < 'k'; ++c) groups.stocGroup({std::string(200, c), "x"});  // a .stoc over 2000 bytes
    writeFile(app / "game" / "blocked.mpak", groups.build());
    {
        FileSizeLimit fullDisk(2000);
        open(app / "game" / "blocked.mpak");
    }
    expectFailure("ProcessLibrary error.\r\n\r\nCannot write '" + pathText(library("blocked.mpak.stoc")));
    EXPECT_EQ(filesBelow(form.libraryPath).size(), 2u);  // big's and blocked's .toc, and no temporary file
}
