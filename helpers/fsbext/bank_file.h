// The bank file as fsbext meets it on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include "common/files.h"
#endif

// The bank, open for reading in ranges. Only a regular file is read: a FIFO or a device named
// as the bank is refused at once (a Failure) instead of being waited on or read without end.
class BankFile {
public:
    explicit BankFile(const std::filesystem::path& bank);
    ~BankFile();
    BankFile(const BankFile&) = delete;
    BankFile& operator=(const BankFile&) = delete;
    std::uint64_t size() const { return size_; }
    // Exactly `length` bytes from `offset`; a Failure when the bank is shorter.
    std::string read(std::uint64_t offset, std::size_t length);

private:
    std::filesystem::path path_;
    std::uint64_t size_ = 0;
#ifdef _WIN32
    RangeReader reader_;
#else
    int descriptor_ = -1;
#endif
};

// True when `target` names an existing file that is the bank itself (the same file reached
// by any name), which a sound must never replace.
bool isTheBank(const std::filesystem::path& target, const std::filesystem::path& bank);
