// What an installed copy needs: its picture, and a start from a folder it may not write to, as
// a copy installed into a system folder is.
#include <QLabel>
#include <QProcess>
#include <QThread>

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

TEST(InstalledCopy, OpensWithItsWorkFoldersInTheUsersDataFolderAndWritesNothingBesideItself) {
    ReadOnlyProgramFolder installed({"VantrelRipper", "zlibc", "fsbext"});
    const fs::path leftover = installed.userWorkFolder() / "Temp" / "old.gz";
    writeFile(leftover, "emptied once start-up is through");
    QProcess program;
    program.start(QString::fromStdString(installed.launcher("VantrelRipper").string()));
    ASSERT_TRUE(program.waitForStarted());
    for (int i = 0; i < 500 && fs::exists(leftover); ++i) QThread::msleep(20);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::is_directory(installed.userWorkFolder() / "Sounds"));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.program.path()), {}), 3);
}

}  // namespace
