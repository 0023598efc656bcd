// Whole-file and byte-range reads and writes; every failure is a Failure that names the file.
// Nothing is ever written through a link: each file is created afresh, exclusively, so that a
// link planted on its name is replaced, never followed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

// Host paths shown to the user (log lines, messages) as bytes in the platform's form: UTF-8
// on Windows, whichever compiler's narrow encoding; and such a text back as a host path.
std::string pathText(const fs::path& path);
fs::path hostPath(std::string_view text);

std::string readWholeFile(const fs::path& path);
// Exactly `length` bytes from `offset`; fails when the file is shorter. Reading no bytes never
// fails and does not touch the file.
std::string readFileRange(const fs::path& path, std::uint64_t offset, std::uint64_t length);
// One file read in byte ranges, as readFileRange reads them: opened at the first read that
// reads bytes and kept open, its size taken then.
class RangeReader {
public:
    explicit RangeReader(fs::path path) : path_(std::move(path)) {}
    ~RangeReader();
    RangeReader(const RangeReader&) = delete;
    RangeReader& operator=(const RangeReader&) = delete;
    std::string read(std::uint64_t offset, std::uint64_t length);
    const fs::path& path() const { return path_; }

private:
    friend class WorkFile;
    // The open file, once the range is known to lie inside it (at least one byte).
    std::FILE* fileHolding(std::uint64_t offset, std::uint64_t length);
    // Fills `data` from `offset`; on a failure it is left empty.
    void readInto(std::FILE* file, std::uint64_t offset, std::string& data);

    fs::path path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    // Bytes read ahead of a run of reads that follow one another, as entries of an archive are
    // read: one system call serves many small entries.
    std::string ahead_;
    std::uint64_t aheadAt_ = 0;
    std::uint64_t lastEnd_ = UINT64_MAX;  // where the last read ended; none yet
};
// One file read front to back in pieces: memory holds one piece, whatever the file holds.
class SequentialReader {
public:
    explicit SequentialReader(const fs::path& path);  // opens it; a failure names the file
    ~SequentialReader();
    SequentialReader(const SequentialReader&) = delete;
    SequentialReader& operator=(const SequentialReader&) = delete;
    // The next at most `size` bytes, valid until the next read; fewer only at the end.
    std::string_view read(std::size_t size);

private:
    fs::path path_;
    std::FILE* file_;
    std::string buffer_;
};
std::uint64_t fileSizeOf(const fs::path& path);
// Whether a file (or a link to one) has that name: false for a folder, as for nothing.
bool fileExists(const fs::path& path);
// The files (anything but folders) directly inside `folder`, sorted by name in byte order so
// that every run visits them alike.
std::vector<fs::path> filesDirectlyIn(const fs::path& folder);

// A file written front to back. It is created exclusively: whatever had its name before (a
// file, a link) is removed first, and a link planted in between makes the creation fail.
class WorkFile {
public:
    explicit WorkFile(fs::path path);
    ~WorkFile();
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;

    void write(std::string_view bytes);
    // Appends `length` bytes of `from` at `offset` (which must hold them), copied by the
    // system itself where it can: a large range never passes through this program's memory.
    void append(RangeReader& from, std::uint64_t offset, std::uint64_t length);
    // Bytes written so far: the write position.
    std::int64_t position() const { return position_; }
    // Flushes and closes; a failure to flush is a Failure. Closing twice does nothing.
    void close();
    // The bytes written so far reach the disk itself; a failure is a Failure.
    void syncToDisk();
    const fs::path& path() const { return path_; }

protected:
    // A new temporary name of its own in `target`'s folder; failures name `target`.
    struct Fresh {};
    WorkFile(Fresh, const fs::path& target);

private:
    void writeNow(std::string_view bytes);
    void writePending();

    fs::path path_;
    fs::path named_;  // the file that failures name
    std::FILE* file_ = nullptr;  // unbuffered: `pending_` is its buffer
    std::string pending_;
    std::int64_t position_ = 0;
};

// A file written under a temporary name of its own beside `target` and renamed onto the
// target by commit(). Until then the target stays as it was; a ReplacingFile destroyed
// without commit() removes its temporary file.
// Synced: the bytes reach the disk before the rename and the rename after it, for the files a
// power cut must leave old or whole (a new archive, the library files).
enum class Durability { Ordinary, Synced };

class ReplacingFile : public WorkFile {
public:
    explicit ReplacingFile(fs::path target);
    ~ReplacingFile();
    void commit(Durability durability = Durability::Ordinary);

private:
    fs::path target_;
    bool committed_ = false;
};

// The longest file name the file system takes in `folder`, in bytes. On Windows a name takes
// 255 characters, and unless long paths are enabled (our programs' manifest asks for them,
// the system's setting must allow them) the whole path must also stay below 260.
std::size_t longestFileName(const fs::path& folder);

// Creates the file afresh (see WorkFile) and writes `data` whole. A failure may leave part of
// it: use this for work files only.
void writeWholeFile(const fs::path& path, std::string_view data);
// Writes `data` through a ReplacingFile: the file at `path` is either the earlier one or the
// whole new one, never half of it.
void writeFileReplacing(const fs::path& path, std::string_view data, Durability durability = Durability::Ordinary);
// Appends the file at `from` to `to` in blocks of `blockSize` bytes followed by the remainder.
void copyInBlocks(const fs::path& from, WorkFile& to, std::size_t blockSize);

// A Failure for a failed operation on a file, with the system's reason.
[[noreturn]] void failFile(const char* action, const fs::path& path, const std::string& reason);
