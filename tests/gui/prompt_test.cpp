#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>

#include "gui_fixture.h"
#include "shell/open_file_command.h"
#include "shell/shell_ops.h"

namespace {
QString storedFolder() {
    return QSettings(QStringLiteral("VantrelRipper"), QStringLiteral("VantrelRipper"))
        .value(QStringLiteral("Preferences/OpenFilePath"))
        .toString();
}
}  // namespace

TEST_F(GuiTest, CancelledPromptLeavesSettingPathsLabelAndLogUnchanged) {
    MainWindow& w = start();
    w.setArchiveName("old.mpak");
    w.form().archivePath = "/games/old.mpak";
    appendLogLine(w.form(), "kept");
    ShowLog(w.form());
    bool ran = false;
    runOpenFileCommand(w.form(), "SelectMPAKfile", kMpakPrompt, [&](const fs::path&) { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(storedFolder().isEmpty());
    EXPECT_EQ(control<QLabel>("Label5")->text(), "old.mpak");
    EXPECT_EQ(w.form().archivePath, "/games/old.mpak");
    EXPECT_EQ(w.logViewText(), "kept\r\n");
    EXPECT_TRUE(dialogs->messages.empty());
    // The first prompt starts in the application folder; the filter takes any letter case.
    ASSERT_EQ(dialogs->openCalls.size(), 1u);
    EXPECT_EQ(dialogs->openCalls[0].title, "Select File [.mpak]");
    EXPECT_EQ(dialogs->openCalls[0].initialFolder, answer(app.path()));
    EXPECT_EQ(dialogs->openCalls[0].filter, ".mpak type files (*.[mM][pP][aA][kK])");
}

TEST_F(GuiTest, RememberedFolderIsSharedByTheOpenFileCommands) {
    MainWindow& w = start();
    fs::path models = app / "models";
    dialogs->fileAnswers.push_back(answer(models / "hero.mmod"));
    fs::path chosen;
    runOpenFileCommand(w.form(), "GetModelGraphics", kModelPrompt, [&](const fs::path& p) { chosen = p; });
    EXPECT_EQ(chosen, models / "hero.mmod");
    EXPECT_EQ(storedFolder(), answer(models));
    runOpenFileCommand(w.form(), "SelectMPAKfile", kMpakPrompt, [](const fs::path&) {});
    ASSERT_EQ(dialogs->openCalls.size(), 2u);
    EXPECT_EQ(dialogs->openCalls[1].initialFolder, answer(models));
    // A file in the root remembers the root itself.
    dialogs->fileAnswers.push_back(QStringLiteral("/a.mpak"));
    runOpenFileCommand(w.form(), "SelectMPAKfile", kMpakPrompt, [](const fs::path&) {});
    EXPECT_EQ(storedFolder(), "/");
}

TEST_F(GuiTest, HelpButtonShowsTheHelpTextAndFolderButtonsOpenTheFileManager) {
    start();
    writeFile(app / "packing_files.txt", "Packing help\r\nline 2\r\n");
    click("butFilePackerQuestion");
    EXPECT_EQ(window->logViewText(), "Packing help\r\nline 2\r\n");
    EXPECT_EQ(control<QPlainTextEdit>("RichTextBox1")->toPlainText(), "Packing help\nline 2\n");
    click("butOpenFolder");
    click("butOpenNewMPAKsFolder");
    click("butOpenSoundsFolder");
    ASSERT_EQ(dialogs->openedFolders.size(), 3u);
    EXPECT_EQ(dialogs->openedFolders[0], app / "ExtractedFiles");
    EXPECT_EQ(dialogs->openedFolders[1], app / "NewMPAKs");
    EXPECT_EQ(dialogs->openedFolders[2], app / "Sounds");
}

TEST_F(GuiTest, InstalledHelpTextsExplainEachSection) {
    for (const char* name : {"extracting_files.txt", "packing_files.txt", "converting_fsb.txt"}) {
        std::string text = readFile(app / name);
        EXPECT_GT(text.size(), 500u) << name;
        EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << name << " has CR LF line ends";
    }
}

// The real program, started twice on one application folder: the second copy ends at once
// without touching the folders.
TEST_F(GuiTest, ASecondCopyExitsWithoutTouchingTheFolders) {
    fs::copy_file(fs::path(VR_APP_DIR) / "VantrelRipper", app / "VantrelRipper");
    QProcess first;
    first.setProgram(answer(app / "VantrelRipper"));
    first.start();
    ASSERT_TRUE(first.waitForStarted());
    for (int i = 0; i < 200 && !fs::exists(app / "Sounds"); ++i) QThread::msleep(20);
    ASSERT_TRUE(fs::exists(app / "Sounds"));
    QThread::msleep(200);  // let the first copy finish emptying Temp
    writeFile(app / "Temp" / "work.gz", "in use");

    QProcess second;
    second.setProgram(answer(app / "VantrelRipper"));
    second.start();
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(readFile(app / "Temp" / "work.gz"), "in use");
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}
