#include <gtest/gtest.h>

#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/form.h"
#include "shell/shell_ops.h"

class FolderShortcuts : public ::testing::Test {
protected:
    TempDir app;
    RecordingWindow window;
    Form form{window, app.path()};
};

TEST_F(FolderShortcuts, ExtractorFolderIsTheArchivesOnlyOnceItWasExtracted) {
    OpenExtractorFolder(form);  // no archive
    window.archive = "sounds.mpak";
    OpenExtractorFolder(form);  // not extracted yet
    fs::create_directories(app / "ExtractedFiles" / "sounds.mpak");
    OpenExtractorFolder(form);
    ASSERT_EQ(window.openedFolders.size(), 3u);
    EXPECT_EQ(window.openedFolders[0], app / "ExtractedFiles");
    EXPECT_EQ(window.openedFolders[1], app / "ExtractedFiles");
    EXPECT_EQ(window.openedFolders[2], app / "ExtractedFiles" / "sounds.mpak");
}

TEST_F(FolderShortcuts, PackerAndSoundFoldersAreShownWithoutAnyCheck) {
    OpenNewMPAKsFolder(form);
    OpenSoundsFolder(form);
    ASSERT_EQ(window.openedFolders.size(), 2u);
    EXPECT_EQ(window.openedFolders[0], app / "NewMPAKs");
    EXPECT_EQ(window.openedFolders[1], app / "Sounds");
}

TEST_F(FolderShortcuts, HelpTextShowsFromItsTopAndLeavesTheLogText) {
    writeFile(app / "packing_files.txt", "Packing\r\nstep 1\r\n");
    writeFile(app / "extracting_files.txt", "Extracting\r\n");
    writeFile(app / "converting_fsb.txt", "Sounds\r\n");
    appendLogLine(form, "earlier line");
    ShowLog(form);
    ShowPackerHelp(form);
    EXPECT_EQ(window.log, "Packing\r\nstep 1\r\n");
    EXPECT_EQ(window.caret, Caret::Start);
    EXPECT_EQ(form.logText, "earlier line\r\n");
    ShowExtractorHelp(form);
    EXPECT_EQ(window.log, "Extracting\r\n");
    ShowSoundHelp(form);
    EXPECT_EQ(window.log, "Sounds\r\n");
    // An operation that extends logText shows the old log again with its own line below.
    appendLogLine(form, "new line");
    ShowLog(form);
    EXPECT_EQ(window.log, "earlier line\r\nnew line\r\n");
}

TEST_F(FolderShortcuts, AMissingHelpFileShowsNothingAndIsLeftEmpty) {
    window.log = "something";
    ShowSoundHelp(form);
    EXPECT_EQ(window.log, "");
    EXPECT_TRUE(fs::exists(app / "converting_fsb.txt"));
    EXPECT_EQ(fs::file_size(app / "converting_fsb.txt"), 0u);
}

TEST_F(FolderShortcuts, HelpTextsAndHelpersComeFromTheProgramFolderAndWorkFoldersFromTheWorkFolder) {
    TempDir program;
    form.programFolder = program.path();
    writeFile(program / "packing_files.txt", "from the program folder");
    ShowPackerHelp(form);
    OpenSoundsFolder(form);
    EXPECT_EQ(window.log, "from the program folder");
    EXPECT_FALSE(fs::exists(app / "packing_files.txt"));
    EXPECT_EQ(window.openedFolders.at(0), app / "Sounds");
    EXPECT_EQ(helperProgramPath(form, "zlibc").parent_path(), program.path());
}
