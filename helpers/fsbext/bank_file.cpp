// Reading the bank from an open file whose type has been checked, so that no other file can
// take its place between the check and the reads.
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

}  // namespace

#ifdef _WIN32
BankFile::BankFile(const fs::path& bank) : path_(bank), reader_(bank) {
    std::error_code ec;
    if (!fs::is_regular_file(bank, ec)) failFile("read", bank, ec ? ec.message() : kNotARegularFile);
    size_ = fileSizeOf(bank);
}

BankFile::~BankFile() = default;

std::string BankFile::read(std::uint64_t offset, std::size_t length) { return reader_.read(offset, length); }
#else
BankFile::BankFile(const fs::path& bank) : path_(bank) {
    // O_NONBLOCK: opening a FIFO returns at once instead of waiting for a writer.
    descriptor_ = open(bank.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor_ < 0) failFile("open", bank, std::strerror(errno));
    struct stat status {};
    const char* refusal = fstat(descriptor_, &status) != 0 ? std::strerror(errno)
                          : S_ISREG(status.st_mode)        ? nullptr
                                                           : kNotARegularFile;
    if (refusal) {
        close(descriptor_);  // no destructor runs for a constructor that throws
        failFile("read", bank, refusal);
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
}

BankFile::~BankFile() {
    if (descriptor_ >= 0) close(descriptor_);
}

std::string BankFile::read(std::uint64_t offset, std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t done = 0; done < length;) {
        ssize_t got = pread(descriptor_, bytes.data() + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failFile("read", path_, std::strerror(errno));
        if (got == 0) failFile("read", path_, "it is shorter than its size said");
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}
#endif

bool isTheBank(const fs::path& target, const fs::path& bank) {
    std::error_code ec;
    return fs::equivalent(target, bank, ec) && !ec;
}
