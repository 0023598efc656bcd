// The work-folder lock on Windows: LockFileEx on a handle that no helper program inherits.
#include <windows.h>

#include "shell/work_folder_lock.h"

std::intptr_t lockFileExclusively(const std::filesystem::path& lockFile, LockState& state) {
    HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        state = LockState::Unavailable;
        return -1;
    }
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        state = LockState::Held;
        return reinterpret_cast<std::intptr_t>(file);
    }
    state = GetLastError() == ERROR_LOCK_VIOLATION ? LockState::HeldByAnother : LockState::Unavailable;
    CloseHandle(file);
    return -1;
}

void releaseLockFile(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
