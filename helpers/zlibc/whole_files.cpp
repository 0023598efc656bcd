// zlibc's input and output files.
#include "whole_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

[[noreturn]] void fail(const char* action, const fs::path& path, const std::string& reason) {
    throw ZlibcError(std::string("cannot ") + action + " " + quoted(path) + ": " + reason);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A new file of a free temporary name in the output's folder, never one that exists already.
File createTemporaryFile(const fs::path& output, fs::path& name) {
    fs::path folder = output.parent_path();
    if (folder.empty()) folder = ".";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        name = folder / (".zlibc-" + std::to_string(attempt) + ".tmp");
        if (std::FILE* f = std::fopen(name.string().c_str(), "wbx")) return File(f);
        if (errno != EEXIST) fail("write", output, std::strerror(errno));
    }
    fail("write", output, "too many temporary files are left in its folder");
}

void writeAndClose(File file, const fs::path& name, const std::uint8_t* data, std::size_t size) {
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // one write of the whole data
    errno = 0;
    if (size > 0 && std::fwrite(data, 1, size, file.get()) != size)
        fail("write", name, errno ? std::strerror(errno) : "short write");
    if (std::fclose(file.release()) != 0) fail("write", name, std::strerror(errno));
}

}  // namespace

Bytes uninitializedBytes(std::size_t size) {
    return Bytes{std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]), size};
}

Bytes readInputFile(const fs::path& path) {
    std::error_code ec;
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec) fail("read", path, ec.message());
    if (size > kMaxDataSize) fail("read", path, "larger than " + std::to_string(kMaxDataSize) + " bytes");
    File file(std::fopen(path.string().c_str(), "rb"));
    if (!file) fail("open", path, std::strerror(errno));
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // one read straight into the buffer

    Bytes bytes = uninitializedBytes(static_cast<std::size_t>(size));
    errno = 0;
    if (std::fread(bytes.data.get(), 1, bytes.size, file.get()) != bytes.size)
        fail("read", path, errno ? std::strerror(errno) : "the file became shorter while being read");
    if (std::fgetc(file.get()) != EOF) fail("read", path, "the file grew while being read");
    return bytes;
}

void writeOutputFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    fs::path temporary;
    File file = createTemporaryFile(path, temporary);
    try {
        writeAndClose(std::move(file), path, data, size);  // failures name OUT, not the temporary file
        std::error_code ec;
        fs::rename(temporary, path, ec);
        if (ec) fail("replace", path, ec.message());
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}
