#include "pack/work_file.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "common/files.h"

WorkFile::WorkFile(std::filesystem::path path) : path_(std::move(path)) {
    file_ = std::fopen(path_.c_str(), "wb");
    if (!file_) failFile("create", path_, std::strerror(errno));
}

WorkFile::~WorkFile() {
    if (file_) std::fclose(file_);
}

void WorkFile::write(std::string_view bytes) {
    if (!file_) failFile("write", path_, "the file is closed");
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failFile("write", path_, std::strerror(errno));
    position_ += static_cast<std::int64_t>(bytes.size());
}

void WorkFile::close() {
    if (!file_) return;
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) failFile("write", path_, std::strerror(errno));
}

void copyInBlocks(const std::filesystem::path& from, WorkFile& to, std::size_t blockSize) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(from.c_str(), "rb"), std::fclose);
    if (!in) failFile("open", from, std::strerror(errno));
    std::vector<char> block(blockSize);
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), in.get())) > 0) to.write({block.data(), got});
    if (std::ferror(in.get())) failFile("read", from, std::strerror(errno));
}
