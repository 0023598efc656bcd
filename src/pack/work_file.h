// A file written front to back (the writer's work files and the new archive); every failure
// is a Failure that names the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

class WorkFile {
public:
    // Creates or truncates the file.
    explicit WorkFile(std::filesystem::path path);
    ~WorkFile();
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;

    void write(std::string_view bytes);
    // Bytes written so far: the write position.
    std::int64_t position() const { return position_; }
    // Flushes and closes; a failure to flush is a Failure. Closing twice does nothing.
    void close();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::int64_t position_ = 0;
};

// Appends the file at `from` to `to` in blocks of `blockSize` bytes followed by the remainder.
void copyInBlocks(const std::filesystem::path& from, WorkFile& to, std::size_t blockSize);
