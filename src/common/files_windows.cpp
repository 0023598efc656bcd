#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/file_stamp.h"
#include "common/files.h"
#include "common/files_platform.h"
#include "common/paths.h"

const std::string_view kDriveCharacters = ":";

namespace {

// Long paths need both the program's manifest and the system's setting; ntdll says whether
// this process has them (Windows 10 1607 and later; elsewhere it lacks the call).
bool longPathsEnabled() {
    using Query = BOOLEAN(WINAPI*)();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    FARPROC found = ntdll ? GetProcAddress(ntdll, "RtlAreLongPathsEnabled") : nullptr;
    auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(found));
    return query && query();
}

}  // namespace

std::string pathText(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

fs::path hostPath(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::FILE* openFileForReading(const fs::path& path) { return _wfopen(path.c_str(), L"rb"); }

std::uint64_t copyBySystem(std::FILE*, std::uint64_t, std::uint64_t, std::FILE*) { return 0; }

std::FILE* createExclusively(const fs::path& path) {
    int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* f = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (fd >= 0 && !f) _close(fd);
    return f;
}

// The C runtime takes ERROR_HANDLE_DISK_FULL for EINVAL; it means a full disk.
std::string writeFailure() {
    if (errno == EINVAL && _doserrno == ERROR_HANDLE_DISK_FULL) return std::strerror(ENOSPC);
    return std::strerror(errno);
}

long processId() { return _getpid(); }

int holdForReplacing(const fs::path&) { return -1; }

void freeAside(int) {}

int seekTo(std::FILE* file, std::uint64_t offset) { return _fseeki64(file, static_cast<long long>(offset), SEEK_SET); }

std::size_t longestFileName(const fs::path& folder) {
    constexpr std::size_t kLongestName = 255, kLongestPath = MAX_PATH - 1;  // MAX_PATH counts the final zero
    if (longPathsEnabled()) return kLongestName;
    // The name follows the folder and one separator.
    std::error_code ec;
    const std::size_t taken = fs::absolute(folder, ec).native().size() + 1;
    return taken >= kLongestPath ? 0 : std::min(kLongestName, kLongestPath - taken);
}

namespace {

// FILETIME and LARGE_INTEGER times count 100 ns steps from 1601.
constexpr std::int64_t kStepsFrom1601To1970 = 116444736000000000;

std::int64_t stampTime(std::int64_t stepsFrom1601) { return (stepsFrom1601 - kStepsFrom1601To1970) * 100; }

}  // namespace

std::optional<FileStamp> fileStamp(const fs::path& path) {
    HANDLE file =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool known = GetFileInformationByHandle(file, &info) &&
                       GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(file);
    if (!known) return std::nullopt;
    return FileStamp{(std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     stampTime(basic.LastWriteTime.QuadPart), stampTime(basic.ChangeTime.QuadPart),
                     info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::int64_t stampNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return stampTime((std::int64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}
