#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include "common/file_stamp_posix.h"
#include "common/files.h"
#include "common/files_platform.h"
#include "common/paths.h"

const std::string_view kDriveCharacters = "";

std::string pathText(const fs::path& path) { return path.string(); }

fs::path hostPath(std::string_view text) { return fs::path(text); }

std::FILE* openFileForReading(const fs::path& path) { return std::fopen(path.c_str(), "rb"); }

// "x" is O_EXCL, "e" O_CLOEXEC; unlike fdopen, it does not ask the new file for its flags.
std::FILE* createExclusively(const fs::path& path) { return std::fopen(path.c_str(), "wbxe"); }

std::uint64_t copyBySystem(std::FILE* from, std::uint64_t offset, std::uint64_t length, std::FILE* to) {
    auto at = static_cast<off_t>(offset);
    std::uint64_t done = 0;
    while (done < length) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(length - done, 1u << 30));
        const ssize_t n = ::copy_file_range(::fileno(from), &at, ::fileno(to), nullptr, want, 0);
        if (n <= 0) break;  // not on this file system, or a failure the caller's own copy reports
        done += static_cast<std::uint64_t>(n);
    }
    return done;
}

std::string writeFailure() { return std::strerror(errno); }

long processId() { return static_cast<long>(getpid()); }

int holdForReplacing(const fs::path& path) {
    // Only a reference, never opened for reading: a FIFO or a device at the name does nothing.
#ifdef O_PATH
    const int held = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
#else
    const int held = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
#endif
    struct stat status;
    constexpr off_t kWorthAThread = 1 << 20;
    if (held >= 0 && (fstat(held, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < kWorthAThread)) {
        ::close(held);
        return -1;
    }
    return held;
}

void freeAside(int held) {
    if (held < 0) return;
    try {
        std::thread([held] { ::close(held); }).detach();
    } catch (const std::system_error&) {
        ::close(held);  // no thread to be had: freed here
    }
}

int seekTo(std::FILE* file, std::uint64_t offset) { return fseeko(file, static_cast<off_t>(offset), SEEK_SET); }

std::size_t longestFileName(const fs::path& folder) {
    long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::optional<FileStamp> stampOfStatus(const struct stat& status) {
    if (!S_ISREG(status.st_mode)) return std::nullopt;
    auto ns = [](const timespec& t) { return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return FileStamp{std::uint64_t(status.st_size), ns(status.st_mtim), ns(status.st_ctim),
                     std::uint64_t(status.st_dev), std::uint64_t(status.st_ino)};
}

std::optional<FileStamp> fileStamp(const fs::path& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return std::nullopt;
    return stampOfStatus(status);
}

std::int64_t stampNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}
