// What an installed copy needs: its picture, and a start from a folder it may not write to, as
// a copy installed into a system folder is.
#include <QLabel>
#include <QProcess>
#include <QThread>

#include "fixtures/mpak_builder.h"
#include "fixtures/read_only_program_folder.h"
#include "gui/program_picture.h"
#include "gui_fixture.h"

namespace {

TEST_F(GuiTest, ShowsThePictureDrawnFromTheCompiledInSvg) {
    start();
    QImage shown = control<QLabel>("Image1")->pixmap().toImage();
    EXPECT_EQ(shown, programPicture(32).toImage());
    EXPECT_EQ(qAlpha(shown.pixel(16, 16)), 255);  // the SVG was found and drawn
}

TEST(InstalledCopy, OpensTheGivenArchiveWithItsWorkFoldersInTheUsersDataFolderAndWritesNothingBesideItself) {
    ReadOnlyProgramFolder installed({"VantrelRipper", "zlibc", "fsbext"});
    TempDir game;
    writeFile(game / "x.mpak", MpakBuilder().entry("a.txt", "a").build());
    // The archive given as the argument is opened, as the desktop entry's "Open with" asks.
    const fs::path toc = installed.userWorkFolder() / "Library" / "x.mpak.toc";
    QProcess program;
    program.start(QString::fromStdString(installed.launcher("VantrelRipper").string()),
                  {QString::fromStdString((game / "x.mpak").string())});
    ASSERT_TRUE(program.waitForStarted());
    for (int i = 0; i < 500 && !fs::exists(toc); ++i) QThread::msleep(20);
    EXPECT_TRUE(fs::exists(toc));
    EXPECT_TRUE(fs::is_directory(installed.userWorkFolder() / "Sounds"));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.program.path()), {}), 3);
}

}  // namespace
