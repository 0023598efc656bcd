// Start-up, the "Open Folder" buttons and the help texts.

#include <cstdlib>

#include "fixtures/app_folder.h"
#include "shell/startup.h"
#include "shell/work_folder_choice.h"

using Startup = AppFolderTest;
using FolderShortcuts = AppFolderTest;

TEST_F(Startup, EmptiesStatusAndLogCreatesTheWorkFoldersAndClearsTempUpToAFileThatCannotBeDeleted) {
    fs::remove(form.soundsPath);  // a missing work folder is created again
    writeFile(app / "Library" / "x.mpak.toc", "kept");
    for (const char* name : {"a", "b", "c", "sub/d"}) writeFile(app / "Temp" / name, name);
    // A killed run's unfinished work files go; a modder's file of a like name stays.
    for (const char* name : {"NewMPAKs/.vr-24437-1.tmp", "Library/.zlibc-2.tmp", "Sounds/.vr-1-0.tmp"})
        writeFile(app / name, "cut");
    writeFile(app / "NewMPAKs/.vr-notes.tmp", "mine");
    window.status = window.log = "old";
    initializeForm(form);
    prepareWorkFolders(form, [](const fs::path& file, std::error_code& ec) {
        if (file.filename() != "b") return fs::remove(file, ec);
        ec = std::make_error_code(std::errc::permission_denied);
        return false;
    });
    EXPECT_EQ(window.status + window.log, "");
    EXPECT_TRUE(fs::is_directory(form.soundsPath));
    EXPECT_EQ(filesBelow(app.path()), (Files{{"Library/x.mpak.toc", "kept"},
                                             {"NewMPAKs/.vr-notes.tmp", "mine"},
                                             {"Temp/b", "b"},
                                             {"Temp/c", "c"},
                                             {"Temp/sub/d", "sub/d"}}));
    Form unwritable(window, "/proc/no-such-application-folder");
    EXPECT_NO_THROW(prepareWorkFolders(unwritable));
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(initializationErrorText("Disk gone."), "Initialization error.\r\n\r\nDisk gone.\r\n\r\nTerminating.");
}

// Root, as tests run here, writes anywhere: a file where a work folder must go stands for a
// folder the program may not write to (the real programs meet a read-only one in their tests).
TEST(WorkFolderChoice, ProgramFolderWhenItCanHoldTheWorkFoldersElseThePerUserFolderElseTheProgramFolder) {
    TempDir program, user, blocked;
    writeFile(blocked / "Temp", "");
    auto chosen = [](const fs::path& programFolder, const fs::path& perUser) {
        ClaimedWorkFolder claimed = claimWorkFolder(programFolder, perUser);
        EXPECT_NE(claimed.lock->state(), LockState::HeldByAnother);
        return claimed.folder;
    };
    EXPECT_EQ(chosen(program.path(), user / "VR"), program.path());
    EXPECT_TRUE(fs::is_directory(program / "Sounds"));
    EXPECT_TRUE(fs::is_empty(user.path()));
    EXPECT_EQ(chosen(blocked.path(), user / "VR"), user / "VR");
    EXPECT_EQ(std::distance(fs::directory_iterator(user / "VR"), {}), 6);  // the folders and the lock, no probe
    EXPECT_EQ(chosen(blocked.path(), blocked / "Temp" / "VR"), blocked.path());
    EXPECT_EQ(chosen(blocked.path(), ""), blocked.path());
    // An installed copy works in the user's folder even where it could write beside itself.
    writeFile(program / VR_INSTALLED_MARK, "");
    EXPECT_EQ(chosen(program.path(), user / "VR"), user / "VR");

    // A folder another copy holds is taken as it is, with nothing made in it but its lock.
    TempDir busy;
    WorkFolderLock other(busy.path());
    ClaimedWorkFolder claimed = claimWorkFolder(busy.path(), user / "VR");
    EXPECT_EQ(claimed.folder, busy.path());
    EXPECT_EQ(claimed.lock->state(), LockState::HeldByAnother);
    EXPECT_EQ(std::distance(fs::directory_iterator(busy.path()), {}), 1);

    // The folder without XDG_DATA_HOME is the installed copy's test.
#ifndef _WIN32
    setenv("XDG_DATA_HOME", "relative", 1);  // not an absolute path: ignored
    EXPECT_TRUE(perUserWorkFolder().is_absolute());
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(perUserWorkFolder(), "/data/VantrelRipper");
    unsetenv("XDG_DATA_HOME");
#endif
}

TEST_F(FolderShortcuts, ExtractorFolderIsTheArchivesOnceExtractedAndHelpTextsShowFromTheirTopBesideTheProgram) {
    OpenExtractorFolder(form);  // no archive
    form.archiveName = "sounds.mpak";
    OpenExtractorFolder(form);  // not extracted yet
    fs::create_directories(app / "ExtractedFiles" / "sounds.mpak");
    OpenExtractorFolder(form);
    EXPECT_EQ(window.openedFolders, (std::vector<fs::path>{app / "ExtractedFiles", app / "ExtractedFiles",
                                                           app / "ExtractedFiles" / "sounds.mpak"}));
    window.fileManagerStarts = false, OpenSoundsFolder(form);
    EXPECT_EQ(window.messages.at(0).text,
              "The folder " + (app / "Sounds").string() + " could not be opened: no file manager could be started.");

    // The help texts show from their top, leaving the log text; a missing one is created empty.
    TempDir program;  // help texts and helpers lie beside the program, whatever the work folder
    form.programFolder = program.path();
    writeFile(program / "packing_files.txt", "Packing\r\nstep 1\r\n");
    form.logText = "earlier line\r\n";
    ShowPackerHelp(form);
    EXPECT_EQ(window.log, "Packing\r\nstep 1\r\n");
    EXPECT_EQ(window.caret, Caret::Start);
    ShowSoundHelp(form);
    EXPECT_EQ(window.log, "");
    EXPECT_EQ(fs::file_size(program / "converting_fsb.txt"), 0u);
    EXPECT_EQ(form.logText, "earlier line\r\n");
}
