#include "pack/written_entry_check.h"

#include <string_view>

#include "format/whole_inflate.h"

namespace {

// Bytes waiting to be inflated before the writing waits for the thread.
constexpr std::size_t kMostWaiting = 64u << 20;
// The thread is woken for a batch of entries, not for each: a wake costs more than a small
// entry's inflating.
constexpr std::size_t kBatchJobs = 64, kBatchBytes = 1u << 20;

}  // namespace

WrittenEntryCheck::WrittenEntryCheck() : thread_([this] { run(); }) {}

WrittenEntryCheck::~WrittenEntryCheck() {
    {
        std::lock_guard lock(mutex_);
        jobs_.clear();  // a writing that failed wants no answers
        dropping_ = true;
    }
    finish();
}

void WrittenEntryCheck::add(std::size_t entry, std::string data, std::size_t offset, std::size_t size,
                            std::int64_t originalSize) {
    // What is too large to inflate whole is inflated from the file by the check.
    if (size > kWholeInflateLimit || originalSize < 0 || std::uint64_t(originalSize) > kWholeInflateLimit) return;
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return bytesWaiting_ < kMostWaiting; });
    bytesWaiting_ += data.size();
    jobs_.push_back({entry, std::move(data), offset, size, originalSize});
    if (batchReady()) changed_.notify_all();
}

bool WrittenEntryCheck::batchReady() const { return jobs_.size() >= kBatchJobs || bytesWaiting_ >= kBatchBytes; }

void WrittenEntryCheck::finish() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

EntryCheck WrittenEntryCheck::checkOf(std::size_t entry) const {
    return entry < checks_.size() ? checks_[entry] : EntryCheck{};
}

void WrittenEntryCheck::run() {
    for (;;) {
        std::deque<Job> batch;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return ending_ || batchReady(); });
            if (jobs_.empty()) return;
            batch.swap(jobs_);
        }
        for (Job& job : batch) {
            check(job);
            bool writingWaits = false;
            {
                std::lock_guard lock(mutex_);
                if (dropping_) return;  // nor the rest of its batch
                writingWaits = bytesWaiting_ >= kMostWaiting;
                bytesWaiting_ -= job.data.size();
            }
            std::string().swap(job.data);
            if (writingWaits) changed_.notify_all();
        }
    }
}

void WrittenEntryCheck::check(const Job& job) {
    try {
        const std::string_view stored = std::string_view(job.data).substr(job.offset, job.size);
        if (inflatesWholeTo(stored, job.originalSize)) {
            if (checks_.size() <= job.entry) checks_.resize(job.entry + 1);
            checks_[job.entry] = {EntryCheck::Crc, crc32Of(stored)};
        }
    } catch (const std::exception&) {
        // no memory for it here: the check inflates it from the file
    }
}
