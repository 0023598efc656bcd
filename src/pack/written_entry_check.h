// The compressed entries of an archive being written, inflated on a thread of their own while the
// writing goes on, from the bytes being written: the check of the saved archive then reads them
// back and compares their CRC-32 rather than inflating them again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "format/saved_archive_check.h"

class WrittenEntryCheck {
public:
    WrittenEntryCheck();
    ~WrittenEntryCheck();  // drops what was not inflated yet and waits for the thread
    WrittenEntryCheck(const WrittenEntryCheck&) = delete;
    WrittenEntryCheck& operator=(const WrittenEntryCheck&) = delete;

    // Entry `entry` stores bytes [offset, offset + size) of `data`, a raw DEFLATE stream that its
    // TOC says inflates to `originalSize` bytes. Waits while much is still to inflate.
    void add(std::size_t entry, std::string data, std::size_t offset, std::size_t size, std::int64_t originalSize);

    // Once every entry is added: how the saved archive's check takes each entry. An entry that
    // did not inflate in full to its size here, or was never added, is inflated from the file.
    void finish();
    EntryCheck checkOf(std::size_t entry) const;

private:
    struct Job {
        std::size_t entry;
        std::string data;
        std::size_t offset, size;
        std::int64_t originalSize;
    };
    bool batchReady() const;  // with mutex_ held
    void run();
    void check(const Job& job);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::size_t bytesWaiting_ = 0;
    bool ending_ = false;
    bool dropping_ = false;  // the writing failed: what is left goes uninflated
    std::vector<EntryCheck> checks_;  // by entry; the thread's until finish()
    std::thread thread_;
};
