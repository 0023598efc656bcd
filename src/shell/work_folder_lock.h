// One running copy per work folder, for the window and the command line alike: an exclusive
// lock on a file in the user's temporary folder, named after the work folder. The system
// releases the lock when the process ends, however it ends; the file itself stays.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

enum class LockState {
    Held,           // this process has the work folder
    HeldByAnother,  // another running copy has it
    Unavailable,    // no lock could be made at all (no usable temporary folder)
};

class WorkFolderLock {
public:
    // Tries once, without waiting.
    explicit WorkFolderLock(const std::filesystem::path& workFolder);
    ~WorkFolderLock();
    WorkFolderLock(const WorkFolderLock&) = delete;
    WorkFolderLock& operator=(const WorkFolderLock&) = delete;

    LockState state() const { return state_; }

private:
    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
    LockState state_ = LockState::Unavailable;
};

// "VantrelRipper-<16 hex digits>": the digits are a 64-bit FNV-1a hash of the work folder's
// absolute path with links resolved, so that every spelling of one folder gives one name. The
// lock file and the running window's local socket are named after it.
std::string workFolderId(const std::filesystem::path& workFolder);
// workFolderId + ".lock" in the temporary folder; empty when there is no temporary folder.
std::filesystem::path workFolderLockPath(const std::filesystem::path& workFolder);

// The platform's part: opens (creating it when missing) and locks the file; -1 unless Held.
std::intptr_t lockFileExclusively(const std::filesystem::path& lockFile, LockState& state);
void releaseLockFile(std::intptr_t handle);
