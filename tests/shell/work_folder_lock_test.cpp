// The lock that keeps two running copies out of one work folder, and the running window's
// socket name.
#include "shell/work_folder_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

TEST(WorkFolderLock, ASecondLockIsRefusedUntilTheFirstIsReleasedThroughEverySpellingOfTheFolder) {
    TempDir work, other, links;
    auto first = std::make_unique<WorkFolderLock>(work.path());
    EXPECT_EQ(first->state(), LockState::Held);
    EXPECT_EQ(WorkFolderLock(work.path()).state(), LockState::HeldByAnother);
    EXPECT_EQ(WorkFolderLock(other.path()).state(), LockState::Held);

    fs::create_directory(work / "sub");
    MAKE_LINK_OR_SKIP(work.path(), links / "link", true);
    const std::string socket = instanceSocketName(work.path());
    for (const fs::path& spelling : {work.path() / "", work / "sub/..", links / "link", links / "link/"}) {
        EXPECT_EQ(WorkFolderLock(spelling).state(), LockState::HeldByAnother) << spelling;
        EXPECT_EQ(instanceSocketName(spelling), socket) << spelling;
    }
    EXPECT_NE(instanceSocketName(work / "sub"), socket);
    first.reset();
    EXPECT_EQ(WorkFolderLock(links / "link").state(), LockState::Held);

    // A lock file that cannot be opened gives no lock, and says why.
    fs::create_directories(other / "jammed" / "VantrelRipper.lock");
    WorkFolderLock jammed(other / "jammed");
    EXPECT_EQ(jammed.state(), LockState::Unavailable);
    EXPECT_FALSE(jammed.problem().empty());
}

// Another user's files and links at the names the temporary folder once held change nothing,
// and the socket lies only in a folder that nobody else can enter.
TEST(WorkFolderLock, NamesPlantedInTheSharedTemporaryFolderChangeNothing) {
    POSIX_ONLY("TMPDIR and XDG_RUNTIME_DIR naming the folders, folder modes");
#ifndef _WIN32
    TempDir work, temp, open;
    const std::string earlierTemp = getenv("TMPDIR") ? getenv("TMPDIR") : "";
    const std::string earlierRuntime = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
    setenv("TMPDIR", temp.path().c_str(), 1);
    fs::permissions(open.path(), fs::perms::all);
    setenv("XDG_RUNTIME_DIR", open.path().c_str(), 1);  // others may enter: not used
    const std::string id = workFolderId(work.path());
    fs::create_symlink("/dev/null", temp / (id + ".lock"));
    writeFile(temp / id, "someone else's");

    WorkFolderLock lock(work.path());
    EXPECT_EQ(lock.state(), LockState::Held);
    EXPECT_EQ(WorkFolderLock(work.path()).state(), LockState::HeldByAnother);
    const fs::path ours = temp / ("VantrelRipper-" + std::to_string(geteuid()));
    EXPECT_EQ(instanceSocketName(work.path()), (ours / id).string());
    EXPECT_EQ(fs::status(ours).permissions() & fs::perms::all, fs::perms::owner_all);

    fs::permissions(ours, fs::perms::all);
    EXPECT_EQ(instanceSocketName(work.path()), "");  // no longer private
    fs::permissions(ours, fs::perms::owner_all);
    if (geteuid() == 0) {  // a folder of that name made by another user
        ASSERT_EQ(chown(ours.c_str(), 65534, 65534), 0);
        EXPECT_EQ(instanceSocketName(work.path()), "");
    }
    earlierTemp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", earlierTemp.c_str(), 1);
    earlierRuntime.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", earlierRuntime.c_str(), 1);
#endif
}
