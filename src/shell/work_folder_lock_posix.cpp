// The work-folder lock on POSIX systems: flock on a descriptor that no helper program inherits,
// so a helper still running never keeps a folder locked after its program ended.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/work_folder_lock.h"

namespace fs = std::filesystem;

namespace {

// A folder nobody else can enter or plant a name in: ours, no link, no access for others.
bool isPrivateFolder(const fs::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

fs::path privateRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isPrivateFolder(runtime)) return runtime;
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (ec || temp.empty()) return {};
    const fs::path ours = temp / ("VantrelRipper-" + std::to_string(::geteuid()));
    ::mkdir(ours.c_str(), 0700);  // one made by someone else fails the check below
    return isPrivateFolder(ours) ? ours : fs::path();
}

}  // namespace

std::intptr_t lockFileExclusively(const fs::path& lockFile, LockState& state, std::string& problem) {
    // A link planted on the name is not followed. Readable by all, so that a second user of a
    // shared folder meets the lock instead of failing to open it; reading is enough to lock.
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno == EACCES) fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        problem = std::strerror(errno);
        state = LockState::Unavailable;
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        state = LockState::Held;
        return fd;
    }
    problem = std::strerror(errno);
    state = errno == EWOULDBLOCK ? LockState::HeldByAnother : LockState::Unavailable;
    ::close(fd);
    return -1;
}

void releaseLockFile(std::intptr_t handle) { ::close(static_cast<int>(handle)); }

std::string instanceSocketName(const fs::path& workFolder) {
    const fs::path folder = privateRuntimeFolder();
    return folder.empty() ? std::string() : (folder / workFolderId(workFolder)).string();
}
