// A Form over a recording window in a fresh application folder with its five work folders;
// helper programs are copied in only by the tests that want them.
#pragma once

#include <gtest/gtest.h>

#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/app_paths.h"
#include "shell/form.h"

class ToolTest : public ::testing::Test {
protected:
    ToolTest() { createWorkFolders(form); }

    // Copies the real helper program from the build's application folder.
    void installHelper(const char* name) {
        fs::copy_file(fs::path(VR_APP_DIR) / name, app / name, fs::copy_options::overwrite_existing);
    }

    // A window that shows an open archive and an earlier command's results.
    void showEarlierArchive() {
        window.list = {"a.txt", "b.txt"};
        window.itemCount = "2 Items";
        window.status = "working";
        window.archive = "game.mpak";
        window.log = "earlier view\r\n";
        form.logText = "earlier log\r\n";
    }

    void expectArchiveDisplayReset() {
        EXPECT_TRUE(window.list.empty());
        EXPECT_EQ(window.itemCount, "0 Items");
        EXPECT_EQ(window.status, "");
        EXPECT_EQ(window.archive, "");
    }

    TempDir app;
    RecordingWindow window;
    Form form{window, app.path()};
};
