#include "common/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/failure.h"

std::string pathText(const fs::path& path) { return path.string(); }

void failFile(const char* action, const fs::path& path, const std::string& reason) {
    throw Failure(std::string("Cannot ") + action + " '" + pathText(path) + "': " + reason);
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const fs::path& path, const char* mode, const char* action) {
    File f(std::fopen(path.c_str(), mode));
    if (!f) failFile(action, path, std::strerror(errno));
    return f;
}
}  // namespace

std::uint64_t fileSizeOf(const fs::path& path) {
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (ec) failFile("get the size of", path, ec.message());
    return size;
}

std::vector<fs::path> filesDirectlyIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) files.push_back(it->path());
    }
    if (ec) failFile("list the folder", folder, ec.message());
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return files;
}

std::string readWholeFile(const fs::path& path) {
    File f = openFile(path, "rb", "open");
    std::string data;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) data.append(buffer, got);
    if (std::ferror(f.get())) failFile("read", path, std::strerror(errno));
    return data;
}

std::string readFileRange(const fs::path& path, std::uint64_t offset, std::uint64_t length) {
    File f = openFile(path, "rb", "open");
    std::uint64_t size = fileSizeOf(path);
    if (offset > size || length > size - offset)
        throw Failure("The data at offset 0x" + [&] {
            char b[32];
            std::snprintf(b, sizeof b, "%llX", static_cast<unsigned long long>(offset));
            return std::string(b);
        }() + " (" + std::to_string(length) + " bytes) runs past the end of '" + pathText(path) +
                      "' (" + std::to_string(size) + " bytes).");
    if (fseeko(f.get(), static_cast<off_t>(offset), SEEK_SET) != 0) failFile("seek in", path, std::strerror(errno));
    std::string data(length, '\0');
    if (length > 0 && std::fread(data.data(), 1, length, f.get()) != length)
        failFile("read", path, std::strerror(errno));
    return data;
}

void writeWholeFile(const fs::path& path, std::string_view data) {
    File f = openFile(path, "wb", "create");
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f.get()) != data.size())
        failFile("write", path, std::strerror(errno));
    std::FILE* raw = f.release();
    if (std::fclose(raw) != 0) failFile("write", path, std::strerror(errno));
}

void writeFileReplacing(const fs::path& path, std::string_view data) {
    fs::path temporary = path;
    temporary += ".part";
    try {
        writeWholeFile(temporary, data);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        failFile("replace", path, ec.message());
    }
}
