#include <gtest/gtest.h>

#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/form.h"
#include "shell/startup.h"

namespace {
const char* kFolders[] = {"ExtractedFiles", "Temp", "NewMPAKs", "Library", "Sounds"};
}

TEST(Startup, WindowTitleShowsMajorVersionAndBuild) {
    EXPECT_EQ(windowTitle(), "Vantrel Ripper  ver-1 build-1");
}

TEST(Startup, EmptiesStatusAndLogAndSetsTheWorkFolders) {
    TempDir app;
    RecordingWindow window;
    window.status = "old";
    window.log = "old";
    Form form(window, app.path());
    initializeForm(form);
    EXPECT_EQ(window.status, "");
    EXPECT_EQ(window.log, "");
    EXPECT_EQ(form.tempPath, app / "Temp");
    EXPECT_EQ(form.soundsPath, app / "Sounds");
}

TEST(Startup, CreatesMissingFoldersAndKeepsWhatExistingOnesHold) {
    TempDir app;
    writeFile(app / "Library" / "x.mpak.toc", "kept");
    writeFile(app / "Temp" / "a.gz", "gone");
    writeFile(app / "Temp" / "sub" / "b.gz", "kept");
    RecordingWindow window;
    Form form(window, app.path());
    prepareWorkFolders(form);
    for (const char* folder : kFolders) EXPECT_TRUE(fs::is_directory(app / folder)) << folder;
    EXPECT_EQ(readFile(app / "Library" / "x.mpak.toc"), "kept");
    EXPECT_FALSE(fs::exists(app / "Temp" / "a.gz"));
    EXPECT_EQ(readFile(app / "Temp" / "sub" / "b.gz"), "kept");
}

TEST(Startup, AFileThatCannotBeDeletedStopsTheClearingButNotTheStart) {
    TempDir app;
    for (const char* name : {"a", "b", "c"}) writeFile(app / "Temp" / name, name);
    RecordingWindow window;
    Form form(window, app.path());
    auto refuseB = [](const fs::path& file, std::error_code& ec) {
        if (file.filename() == "b") {
            ec = std::make_error_code(std::errc::permission_denied);
            return false;
        }
        return fs::remove(file, ec);
    };
    prepareWorkFolders(form, refuseB);
    EXPECT_FALSE(fs::exists(app / "Temp" / "a"));
    EXPECT_TRUE(fs::exists(app / "Temp" / "b"));
    EXPECT_TRUE(fs::exists(app / "Temp" / "c"));
    EXPECT_TRUE(window.messages.empty());
}

TEST(Startup, AnUnwritableApplicationFolderIsNoError) {
    RecordingWindow window;
    Form form(window, "/proc/no-such-application-folder");
    prepareWorkFolders(form);
    EXPECT_TRUE(window.messages.empty());
}

TEST(Startup, InitializationErrorTextEndsWithTerminating) {
    EXPECT_EQ(initializationErrorText("Disk gone."),
              "Initialization error.\r\n\r\nDisk gone.\r\n\r\nTerminating.");
}
