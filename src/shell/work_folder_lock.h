// One running copy per work folder, for the window and the command line alike: an exclusive
// lock on "VantrelRipper.lock" inside the work folder itself. Every user and every spelling of
// the folder meets the same lock there, and nobody who cannot write the folder can plant or
// jam it. The system releases the lock when the process ends, however it ends; the file stays.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

enum class LockState {
    Held,           // this process has the work folder
    HeldByAnother,  // another running copy has it
    Unavailable,    // no lock could be made: the program must not work there
};

class WorkFolderLock {
public:
    // Makes the folder when it is missing, then tries once, without waiting.
    explicit WorkFolderLock(const std::filesystem::path& workFolder);
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

    LockState state() const { return state_; }
    const std::string& problem() const { return problem_; }  // why it is Unavailable

private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
    LockState state_ = LockState::Unavailable;
    std::string problem_;
};

// "VantrelRipper-<16 hex digits>": the digits are a 64-bit FNV-1a hash of the work folder's
// absolute path with links resolved, so that every spelling of one folder gives one name.
std::string workFolderId(const std::filesystem::path& workFolder);
std::filesystem::path workFolderLockPath(const std::filesystem::path& workFolder);

// The running window's local socket, in a form QLocalServer takes: on POSIX an absolute path
// in a folder only this user can enter ($XDG_RUNTIME_DIR, else "VantrelRipper-<uid>" made
// 0700 in the temporary folder), empty when neither is such a folder; on Windows a pipe name.
std::string instanceSocketName(const std::filesystem::path& workFolder);

// "Cannot lock the work folder '<path>': <problem>. ..." for both front ends.
std::string lockRefusalText(const std::filesystem::path& workFolder, const std::string& problem);

// The platform's part: opens (creating it when missing) and locks the file; -1 unless Held.
std::intptr_t lockFileExclusively(const std::filesystem::path& lockFile, LockState& state, std::string& problem);
void releaseLockFile(std::intptr_t handle);
