// What tells that a file has not been written since it was last looked at: its size, its
// modification and change times and its identity on its volume. The change time cannot be set
// back by a program, and any write, rename or copy over the file moves it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0, changed = 0;  // nanoseconds since 1970 (100 ns steps on Windows)
    std::uint64_t volume = 0, id = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file that `path` names, a link followed; nothing when it cannot be had.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

// Now, in the stamps' nanoseconds.
std::int64_t stampNow();
