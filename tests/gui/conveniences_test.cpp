// The modders' conveniences through the real window: selecting by pattern, dropping files and
// folders on the window, and a later start of the program handing its file to the running one.
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>

#include "fixtures/mpak_builder.h"
#include "gui/single_instance.h"
#include "gui_fixture.h"
#include "shell/work_folder_lock.h"

namespace {

TEST_F(GuiTest, APatternSelectsExactlyTheMatchingLinesAndExtractionWritesThoseFiles) {
    TempDir game;
    const std::vector<std::string> paths = {"textures/Sky.DDS", "textures/sea.dds", "sounds/a.fsb", "readme.txt"};
    MpakBuilder archive;
    for (const std::string& path : paths) archive.entry(path, path);
    writeFile(game / "x.mpak", archive.build());
    start();
    openArchive(game / "x.mpak");
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"textures/*.dds", {0, 1}}, {"*.txt;nothing", {3}}, {"nothing", {}}, {"TEXTURES\\S?a.dds; *.FSB", {1, 2}}};
    for (const auto& [pattern, lines] : cases) {
        control<QLineEdit>("txtSelectPattern")->setText(pattern);
        QTest::keyClick(control<QLineEdit>("txtSelectPattern"), Qt::Key_Return);
        EXPECT_EQ(window->selectedLines(), lines) << pattern;
        EXPECT_EQ(control<QLineEdit>("Text1")->text().toStdString(),
                  std::to_string(lines.size()) + " of 4 lines match " + pattern);
    }
    click("butMassExtract");
    std::set<std::string> written;
    for (const auto& file : fs::recursive_directory_iterator(app / "ExtractedFiles" / "x.mpak"))
        if (file.is_regular_file()) written.insert(readFile(file.path()));
    EXPECT_EQ(written, (std::set<std::string>{"textures/sea.dds", "sounds/a.fsb"}));
}

TEST_F(GuiTest, EachKindOfDroppedFileRunsItsCommandAndAnythingElseIsRefused) {
    TempDir game;
    writeFile(game / "x.MPAK", MpakBuilder().entry("a.txt", "a").build());
    for (const char* name : {"a.mpkg", "b.Fsb", "c.mmod", "notes.txt"}) writeFile(game / name, "x");
    fs::create_directories(app / "ExtractedFiles" / "x.mpak");
    start();
    const std::pair<fs::path, std::string> drops[] = {
        {game / "x.MPAK", "x.MPAK|"}, {game / "a.mpkg", "ProcessMPKG error."},
        {game / "b.Fsb", "ProcessFSB error."}, {game / "c.mmod", "GRAPHICS FOR MODEL: c.mmod"},
        {app / "ExtractedFiles" / "x.mpak", "|x.mpak|"}, {game / "notes.txt", "Not opened: only an .mpak"}};
    for (const auto& [path, shown] : drops) {
        dialogs->messages.clear();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(answer(path))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter), QApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
        const std::string all = window->archiveName() + "|" + window->packFolderName() + "|" +
                                control<QLineEdit>("Text1")->text().toStdString() + window->logViewText() +
                                (dialogs->messages.empty() ? "" : dialogs->messages.back().text);
        EXPECT_NE(all.find(shown), std::string::npos) << all;
    }
    EXPECT_EQ(QSettings("VantrelRipper", "VantrelRipper").value("Preferences/OpenFilePath"), answer(game.path()));
}

TEST_F(GuiTest, ASecondStartHandsItsFileToTheRunningWindowAndExitsZero) {
    fs::copy_file(fs::path(VR_APP_DIR) / "VantrelRipper", app / "VantrelRipper");
    TempDir game;
    writeFile(game / "x.mpak", MpakBuilder().entry("a.txt", "a").build());
    WorkFolderLock lock(app.path());
    start();
    ASSERT_TRUE(listenForLaterStarts(*window, app.path()));
    QProcess second;
    second.start(answer(app / "VantrelRipper"), {answer(game / "x.mpak")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->archiveName() == "x.mpak"; }));
    EXPECT_EQ(shownLines().size(), 1);
}

}  // namespace
