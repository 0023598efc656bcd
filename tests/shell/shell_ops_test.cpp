#include "shell/shell_ops.h"

#include <gtest/gtest.h>

#include "common/failure.h"
#include "fixtures/recording_window.h"
#include "fixtures/temp_dir.h"
#include "shell/form.h"
#include "shell/open_file_command.h"

TEST(ErrorReport, CommandNameThenTwoLineBreaksThenTheDescription) {
    TempDir app;
    RecordingWindow window;
    Form form(window, app.path());
    window.busy = true;
    runGuarded(form, "PackIt", [] { throw Failure("Disk full."); });
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "PackIt error.\r\n\r\nDisk full.");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(window.messages[0].title, "Vantrel Ripper");
    EXPECT_FALSE(window.busy);
}

TEST(LogAndProgress, LinesEndInCrLfAndTheBarIsAFractionOfItsFullWidth) {
    TempDir app;
    RecordingWindow window;
    Form form(window, app.path());
    appendLogLine(form, "one");
    appendLogLine(form, "two");
    ShowLog(form);
    EXPECT_EQ(window.log, "one\r\ntwo\r\n");
    EXPECT_EQ(window.caret, Caret::End);
}

TEST(OpenFileCommand, CancelRunsNothingAndChangesNothing) {
    TempDir app;
    RecordingWindow window;
    Form form(window, app.path());
    bool ran = false;
    runOpenFileCommand(form, "GetModelGraphics", kModelPrompt, [&](const fs::path&) { ran = true; });
    EXPECT_FALSE(ran);
    ASSERT_EQ(window.prompts.size(), 1u);
    EXPECT_EQ(window.prompts[0].title, "Select File [.mmod]");
    EXPECT_EQ(window.prompts[0].filter, ".mmod type files (*.mmod)|*.mmod");
    EXPECT_TRUE(window.messages.empty());
}

TEST(OpenFileCommand, AFailureOfTheProcedureIsReportedUnderTheCommandsName) {
    TempDir app;
    RecordingWindow window;
    Form form(window, app.path());
    window.fileAnswers.push_back(app / "a.fsb");
    fs::path seen;
    runOpenFileCommand(form, "ConvertFSB", kFsbPrompt, [&](const fs::path& p) {
        seen = p;
        throw Failure("Broken.");
    });
    EXPECT_EQ(seen, app / "a.fsb");
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "ConvertFSB error.\r\n\r\nBroken.");
}
