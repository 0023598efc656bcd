// The work-folder lock on Windows: LockFileEx on a handle that no helper program inherits.
#include <windows.h>

#include "common/utf16.h"
#include "shell/work_folder_lock.h"

namespace {

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : utf8FromUtf16(message);
}

HANDLE openLockFile(const std::filesystem::path& lockFile, DWORD access) {
    return CreateFileW(lockFile.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::intptr_t lockFileExclusively(const std::filesystem::path& lockFile, LockState& state, std::string& problem) {
    HANDLE file = openLockFile(lockFile, GENERIC_READ | GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        file = openLockFile(lockFile, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) {
        problem = systemMessage(GetLastError());
        state = LockState::Unavailable;
        return -1;
    }
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        state = LockState::Held;
        return reinterpret_cast<std::intptr_t>(file);
    }
    const DWORD error = GetLastError();
    problem = systemMessage(error);
    state = error == ERROR_LOCK_VIOLATION ? LockState::HeldByAnother : LockState::Unavailable;
    CloseHandle(file);
    return -1;
}

void releaseLockFile(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

// A pipe name: pipes live in one namespace for all users, and the server makes its pipe for
// this user alone.
std::string instanceSocketName(const std::filesystem::path& workFolder) { return workFolderId(workFolder); }
