// Whole-file and byte-range reads and writes; every failure is a Failure that names the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

// Host paths shown to the user (log lines, messages) as bytes in the platform's form.
std::string pathText(const fs::path& path);

std::string readWholeFile(const fs::path& path);
// Exactly `length` bytes from `offset`; fails when the file is shorter.
std::string readFileRange(const fs::path& path, std::uint64_t offset, std::uint64_t length);
std::uint64_t fileSizeOf(const fs::path& path);
// The files (anything but folders) directly inside `folder`, sorted by name in byte order so
// that every run visits them alike.
std::vector<fs::path> filesDirectlyIn(const fs::path& folder);

// Creates or truncates the file and writes `data` whole.
void writeWholeFile(const fs::path& path, std::string_view data);
// Writes to a temporary name beside `path` and renames it into place when complete, so a
// failure never leaves half a file under the real name.
void writeFileReplacing(const fs::path& path, std::string_view data);

// A Failure for a failed operation on a file, with the system's reason.
[[noreturn]] void failFile(const char* action, const fs::path& path, const std::string& reason);
