// The modders' conveniences through the real window: selecting by pattern, dropping files and
// folders on the window, and a later start of the program handing its file to the running one.
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>

#include "common/files.h"
#include "common/text.h"
#include "fixtures/mpak_builder.h"
#include "gui/single_instance.h"
#include "gui_fixture.h"
#include "shell/work_folder_lock.h"

TEST_F(GuiTest, APatternSelectsExactlyTheMatchingLinesAndExtractionWritesThoseFiles) {
    MpakBuilder archive;
    for (const char* path : {"textures/Sky.DDS", "textures/sea.dds", "sounds/a.fsb", "readme.txt"})
        archive.entry(path, path);
    writeFile(app / "x.mpak", archive.build());
    start();
    openArchive(app / "x.mpak");
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"textures/*.dds", {0, 1}}, {"*.txt;nothing", {3}}, {"nothing", {}}, {"TEXTURES\\S?a.dds; *.FSB", {1, 2}}};
    for (const auto& [pattern, lines] : cases) {
        control<QLineEdit>("txtSelectPattern")->setText(pattern);
        QTest::keyClick(control<QLineEdit>("txtSelectPattern"), Qt::Key_Return);
        EXPECT_EQ(window->selectedLines(), lines) << pattern;
        EXPECT_EQ(control<QLineEdit>("Text1")->text(),
                  QString("%1 of 4 lines match %2").arg(lines.size()).arg(pattern));
    }
    click("butMassExtract");
    const fs::path extracted = app / "ExtractedFiles" / "x.mpak";
    EXPECT_EQ(readFile(extracted / "textures" / "sea.dds") + readFile(extracted / "sounds" / "a.fsb"),
              "textures/sea.ddssounds/a.fsb");
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(extracted), {}), 4);  // two files, two folders
}

TEST_F(GuiTest, EachKindOfDroppedFileRunsItsCommandAndAnythingElseIsRefused) {
    const fs::path from = app / "ExtractedFiles";  // its folders are pack folders
    writeFile(from / "x.MPAK", MpakBuilder().entry("a.txt", "a").build());
    for (const char* name : {"a.mpkg", "b.Fsb", "c.mmod", "notes.txt"}) writeFile(from / name, "x");
    fs::create_directories(from / "pack");
    start();
    // clang-format off
    const std::pair<const char*, const char*> drops[] = {
        {"x.MPAK", "x.MPAK|"}, {"a.mpkg", "ProcessMPKG error."}, {"b.Fsb", "ProcessFSB error."},
        {"c.mmod", "GRAPHICS FOR MODEL: c.mmod"}, {"pack", "|pack|"}, {"notes.txt", "Not opened: only an .mpak"}};
    // clang-format on
    for (const auto& [path, shown] : drops) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(answer(from / path))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter), QApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
        const std::string all = control<QLabel>("Label5")->text().toStdString() + "|" +
                                control<QLabel>("Label13")->text().toStdString() + "|" + window->logViewText() +
                                control<QLineEdit>("Text1")->text().toStdString() +
                                (dialogs->messages.empty() ? "" : dialogs->messages.back().text);
        EXPECT_NE(all.find(shown), std::string::npos) << all;
    }
    EXPECT_EQ(QSettings("VantrelRipper", "VantrelRipper").value("Preferences/OpenFilePath"), answer(from));
}

// The real program, started with a relative path while an in-process window holds the work
// folder and listens.
TEST_F(GuiTest, ASecondStartHandsItsFileToTheRunningWindowAndExitsZero) {
    const std::string program = programFile("VantrelRipper");
    fs::copy_file(fs::path(VR_APP_DIR) / program, app / program);
    writeFile(app / "x.mpak", MpakBuilder().entry("a.txt", "a").build());
    WorkFolderLock lock(app.path());
    start();
    ASSERT_TRUE(listenForLaterStarts(*window, app.path()));
    QProcess second;
    second.setWorkingDirectory(answer(app.path()));  // the running window started elsewhere
    second.start(answer(app / program), {"x.mpak"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return second.state() == QProcess::NotRunning && window->form().archiveName == "x.mpak"; }, 20000));
    EXPECT_EQ(second.exitCode(), 0);
}

// What a modder could trip over, in the window: a folder of the right name picked elsewhere is
// refused, and a No to a question says in the status line and the log that nothing was written.
TEST_F(GuiTest, AFolderPickedOutsideExtractedFilesIsRefusedAndANoSaysThatNothingWasExtracted) {
    writeFile(app / "mymod" / "x.mpak" / "readme.txt", "edited elsewhere");
    writeFile(app / "x.mpak", MpakBuilder().entry("readme.txt", "the game's").build());
    start();
    dialogs->folderAnswers.push_back(answer(app / "mymod" / "x.mpak"));
    click("butSelectMPAKFolder");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(startsWith(dialogs->messages[0].text,
                           pathText(app / "mymod" / "x.mpak") + " is not a folder in ExtractedFiles."));
    EXPECT_EQ(window->form().packFolderName, "");

    openArchive(app / "x.mpak");
    writeFile(app / "ExtractedFiles" / "x.mpak" / "readme.txt", "edited");
    click("butSelectAll");
    click("butMassExtract");  // the scripted question is answered No
    const QString said =
        "Nothing extracted: 1 extracted files differ from the archive and were kept (first: readme.txt).";
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), said);
    EXPECT_EQ(window->logViewText(), said.toStdString() + "\r\n");
    EXPECT_EQ(readFile(app / "ExtractedFiles" / "x.mpak" / "readme.txt"), "edited");
}
