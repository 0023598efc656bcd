// What an installed copy needs: a start from a folder it may not write to, as a copy installed
// into a system folder is, where the work folder's lock keeps a second copy out.
#include <QProcess>
#include <QThread>

#include "fixtures/mpak_builder.h"
#include "gui_fixture.h"
#ifndef _WIN32
#include "fixtures/read_only_program_folder.h"
#endif

namespace {

TEST(InstalledCopy, OpensTheGivenArchiveInTheUsersDataFolderWritesNothingBesideItselfAndASecondCopyEndsAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX only: a program folder made read-only for root by a bind mount";
#else
    ReadOnlyProgramFolder installed({"VantrelRipper", "zlibc", "fsbext"});
    TempDir game;
    writeFile(game / "x.mpak", MpakBuilder().entry("a.txt", "a").build());
    // The archive given as the argument is opened, as the desktop entry's "Open with" asks.
    const fs::path work = installed.userWorkFolder(), toc = work / "Library" / "x.mpak.toc";
    // Deciding where the work folders go writes through no link planted there.
    writeFile(game / "victim.txt", "victim");
    for (const char* folder : {"ExtractedFiles", "Temp", "NewMPAKs", "Library", "Sounds"}) {
        fs::create_directories(work / folder);
        fs::create_symlink(game / "victim.txt", work / folder / "VantrelRipper.probe");
    }
    const QString program = QString::fromStdString(installed.launcher("VantrelRipper").string());
    QProcess first, second;
    first.start(program, {QString::fromStdString((game / "x.mpak").string())});
    ASSERT_TRUE(first.waitForStarted());
    for (int i = 0; i < 500 && !fs::exists(toc); ++i) QThread::msleep(20);
    EXPECT_TRUE(fs::exists(toc));
    // A second copy on the same work folder ends without touching it.
    EXPECT_EQ(readFile(game / "victim.txt"), "victim");
    writeFile(work / "Temp" / "work.gz", "in use");
    const auto tempChanged = fs::last_write_time(work / "Temp");
    second.start(program);
    EXPECT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(filesBelow(work / "Temp"), (Files{{"work.gz", "in use"}}));
    EXPECT_EQ(fs::last_write_time(work / "Temp"), tempChanged);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
    EXPECT_EQ(std::distance(fs::directory_iterator(installed.program.path()), {}), 3);
#endif
}

}  // namespace
