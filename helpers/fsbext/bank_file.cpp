// Reading the bank from an open file whose type has been checked, so that no other file can
// take its place between the check and the read.
#include "bank_file.h"

#include "common/failure.h"
#include "common/files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

const char* const kNotARegularFile = "it is not a regular file";

#ifndef _WIN32
struct OpenFile {
    int descriptor;
    ~OpenFile() { close(descriptor); }
};

std::string readOpenFile(const OpenFile& file, const fs::path& bank) {
    struct stat status {};
    if (fstat(file.descriptor, &status) != 0) failFile("read", bank, std::strerror(errno));
    if (!S_ISREG(status.st_mode)) failFile("read", bank, kNotARegularFile);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = read(file.descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failFile("read", bank, std::strerror(errno));
        if (got == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}
#endif

}  // namespace

std::string readBankFile(const fs::path& bank) {
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(bank, ec)) failFile("read", bank, ec ? ec.message() : kNotARegularFile);
    return readWholeFile(bank);
#else
    // O_NONBLOCK: opening a FIFO returns at once instead of waiting for a writer.
    int descriptor = open(bank.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) failFile("open", bank, std::strerror(errno));
    return readOpenFile(OpenFile{descriptor}, bank);
#endif
}

bool isTheBank(const fs::path& target, const fs::path& bank) {
    std::error_code ec;
    return fs::equivalent(target, bank, ec) && !ec;
}
