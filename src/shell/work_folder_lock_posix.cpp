// The work-folder lock on POSIX systems: flock on a descriptor that no helper program inherits,
// so a helper still running never keeps a folder locked after its program ended.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "shell/work_folder_lock.h"

std::intptr_t lockFileExclusively(const std::filesystem::path& lockFile, LockState& state) {
    // A link planted on the name is not followed.
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        state = LockState::Unavailable;
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        state = LockState::Held;
        return fd;
    }
    state = errno == EWOULDBLOCK ? LockState::HeldByAnother : LockState::Unavailable;
    ::close(fd);
    return -1;
}

void releaseLockFile(std::intptr_t handle) { ::close(static_cast<int>(handle)); }
