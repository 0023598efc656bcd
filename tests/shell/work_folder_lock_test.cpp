// The lock that keeps two running copies out of one work folder.
#include "shell/work_folder_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "fixtures/platform.h"
#include "fixtures/temp_dir.h"

TEST(WorkFolderLock, ASecondLockIsRefusedUntilTheFirstIsReleasedAndEverySpellingOfTheFolderNamesOneLockFile) {
    TempDir work, other, links;
    auto first = std::make_unique<WorkFolderLock>(work.path());
    EXPECT_EQ(first->state(), LockState::Held);
    EXPECT_EQ(WorkFolderLock(work.path()).state(), LockState::HeldByAnother);
    EXPECT_EQ(WorkFolderLock(other.path()).state(), LockState::Held);
    first.reset();
    EXPECT_EQ(WorkFolderLock(work.path()).state(), LockState::Held);

    // Every spelling of one folder names one lock file.
    fs::create_directory(work / "sub");
    MAKE_LINK_OR_SKIP(work.path(), links / "link", true);
    const fs::path lockFile = workFolderLockPath(work.path());
    for (const fs::path& spelling : {work.path() / "", work / "sub/..", links / "link", links / "link/"})
        EXPECT_EQ(workFolderLockPath(spelling), lockFile) << spelling;
    EXPECT_NE(workFolderLockPath(work / "sub"), lockFile);
}

TEST(WorkFolderLock, NoTemporaryFolderMeansNoLockAndNoRefusal) {
    POSIX_ONLY("TMPDIR naming the temporary folder");
    TempDir work;
    const char* earlier = getenv("TMPDIR");
    std::string kept = earlier ? earlier : "";
    setenv("TMPDIR", "/proc/no-such-folder", 1);
    EXPECT_EQ(WorkFolderLock(work.path()).state(), LockState::Unavailable);
    earlier ? setenv("TMPDIR", kept.c_str(), 1) : unsetenv("TMPDIR");
}
