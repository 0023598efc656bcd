#include "common/files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "common/disk_sync.h"
#include "common/failure.h"
#include "common/files_platform.h"
#include "common/links.h"

void failFile(const char* action, const fs::path& path, const std::string& reason) {
    throw Failure(std::string("Cannot ") + action + " '" + pathText(path) + "': " + reason);
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForReading(const fs::path& path) {
    File f(openFileForReading(path));
    if (!f) failFile("open", path, std::strerror(errno));
    return f;
}

// A read-ahead's size, and the largest write kept back to go out with the next.
constexpr std::uint64_t kReadAhead = 1 << 20;
constexpr std::size_t kWriteBuffer = 64 * 1024;

// The C library's buffer splits a large write at its block size and asks the file for that
// size first: a work file keeps its own buffer instead, so that a small file is one write.
std::FILE* unbuffered(std::FILE* file) {
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

}  // namespace

std::uint64_t fileSizeOf(const fs::path& path) {
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (ec) failFile("get the size of", path, ec.message());
    return size;
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::status(path, ec));
}

std::vector<fs::path> filesDirectlyIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) files.push_back(it->path());
    }
    if (ec) failFile("list the folder", folder, ec.message());
    if (files.size() < 2) return files;
    // Each name taken once, not once per comparison.
    std::vector<std::pair<std::string, fs::path>> named;
    named.reserve(files.size());
    for (fs::path& file : files) named.emplace_back(pathText(file.filename()), std::move(file));
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < named.size(); ++i) files[i] = std::move(named[i].second);
    return files;
}

SequentialReader::SequentialReader(const fs::path& path)
    : path_(path), file_(unbuffered(openForReading(path).release())) {}

SequentialReader::~SequentialReader() { std::fclose(file_); }

std::string_view SequentialReader::read(std::size_t size) {
    if (std::feof(file_)) return {};  // a short read found the end: no need to ask again
    buffer_.resize(size);
    std::size_t got = std::fread(buffer_.data(), 1, size, file_);
    if (got < size && std::ferror(file_)) failFile("read", path_, std::strerror(errno));
    return std::string_view(buffer_).substr(0, got);
}

std::string readWholeFile(const fs::path& path) {
    File file(unbuffered(openForReading(path).release()));
    auto readInto = [&](char* at, std::size_t size) {
        const std::size_t got = std::fread(at, 1, size, file.get());
        if (got < size && std::ferror(file.get())) failFile("read", path, std::strerror(errno));
        return got;
    };
    // A small file, the usual one, is read whole by the first read; a larger one goes straight
    // into the result, in pieces that double.
    char first[65536];
    std::size_t got = readInto(first, sizeof first);
    std::string data(first, got);
    for (std::size_t piece = sizeof first; got == piece;) {
        piece = std::min<std::size_t>(piece * 2, 16 << 20);
        const std::size_t had = data.size();
        data.resize(had + piece);
        got = readInto(data.data() + had, piece);
        data.resize(had + got);
    }
    return data;
}

std::string readFileRange(const fs::path& path, std::uint64_t offset, std::uint64_t length) {
    return RangeReader(path).read(offset, length);
}

RangeReader::~RangeReader() {
    if (file_) std::fclose(file_);
}

std::FILE* RangeReader::fileHolding(std::uint64_t offset, std::uint64_t length) {
    if (!file_) {
        file_ = openForReading(path_).release();
        size_ = fileSizeOf(path_);
    }
    if (offset > size_ || length > size_ - offset) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "%llX", static_cast<unsigned long long>(offset));
        throw Failure(std::string("The data at offset 0x") + hex + " (" + std::to_string(length) +
                      " bytes) runs past the end of '" + pathText(path_) + "' (" + std::to_string(size_) + " bytes).");
    }
    return file_;
}

void RangeReader::readInto(std::FILE* file, std::uint64_t offset, std::string& data) {
    if (seekTo(file, offset) != 0) failFile("seek in", path_, std::strerror(errno));
    if (std::fread(data.data(), 1, data.size(), file) != data.size()) {
        data.clear();
        failFile("read", path_, std::strerror(errno));
    }
}

std::string RangeReader::read(std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return {};
    std::FILE* file = fileHolding(offset, length);
    const bool following = lastEnd_ <= offset && offset - lastEnd_ < kReadAhead;
    lastEnd_ = offset + length;
    if (offset >= aheadAt_ && offset - aheadAt_ + length <= ahead_.size())
        return ahead_.substr(static_cast<std::size_t>(offset - aheadAt_), static_cast<std::size_t>(length));
    ahead_.clear();
    if (!following || length >= kReadAhead / 2) {
        std::string data(length, '\0');
        readInto(file, offset, data);
        return data;
    }
    ahead_.resize(static_cast<std::size_t>(std::min(kReadAhead, size_ - offset)));
    readInto(file, offset, ahead_);
    aheadAt_ = offset;
    return ahead_.substr(0, static_cast<std::size_t>(length));
}

WorkFile::WorkFile(fs::path path) : path_(std::move(path)), named_(path_) {
    if ((file_ = unbuffered(createExclusively(path_)))) return;  // the name was free: nothing to replace
    std::error_code ec;
    const bool link = isLinkOrJunction(path_);
    if (!link && fs::is_directory(fs::symlink_status(path_, ec))) failFile("create", path_, "a folder has that name");
    if ((link || nameExists(path_)) && !fs::remove(path_, ec)) failFile("replace", path_, ec.message());
    file_ = unbuffered(createExclusively(path_));
    if (!file_) failFile("create", path_, std::strerror(errno));
}

WorkFile::WorkFile(Fresh, const fs::path& target) : named_(target) {
    const fs::path folder = target.parent_path();
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        path_ = folder / hostPath(".vr-" + std::to_string(processId()) + "-" + std::to_string(counter++) + ".tmp");
        if ((file_ = unbuffered(createExclusively(path_)))) return;
        if (errno != EEXIST) failFile("create", named_, std::strerror(errno));
    }
    failFile("create", named_, "too many temporary files are left beside it");
}

WorkFile::~WorkFile() {
    if (!file_) return;
    if (!pending_.empty()) std::fwrite(pending_.data(), 1, pending_.size(), file_);
    std::fclose(file_);
}

void WorkFile::writeNow(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failFile("write", named_, writeFailure());
}

void WorkFile::writePending() {
    writeNow(pending_);
    pending_.clear();
}

void WorkFile::write(std::string_view bytes) {
    if (!file_) failFile("write", named_, "the file is closed");
    if (pending_.size() + bytes.size() > kWriteBuffer) {
        writePending();
        if (bytes.size() > kWriteBuffer / 2) writeNow(bytes);
        else pending_.append(bytes);
    } else {
        pending_.append(bytes);
    }
    position_ += static_cast<std::int64_t>(bytes.size());
}

void WorkFile::append(RangeReader& from, std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return;
    if (!file_) failFile("write", named_, "the file is closed");
    std::FILE* source = from.fileHolding(offset, length);
    writePending();
    const std::uint64_t copied = copyBySystem(source, offset, length, file_);
    position_ += static_cast<std::int64_t>(copied);
    // What the system did not copy goes through memory, a piece at a time.
    constexpr std::uint64_t kPiece = 1 << 20;
    for (std::uint64_t done = copied; done < length; done += kPiece)
        write(from.read(offset + done, std::min(kPiece, length - done)));
}

void WorkFile::close() {
    if (!file_) return;
    std::FILE* f = file_;
    const bool written = pending_.empty() || std::fwrite(pending_.data(), 1, pending_.size(), f) == pending_.size();
    std::string reason = written ? std::string() : writeFailure();
    pending_.clear();
    file_ = nullptr;
    const bool closed = std::fclose(f) == 0;
    if (written && !closed) reason = writeFailure();
    if (!written || !closed) failFile("write", named_, reason);
}

void WorkFile::syncToDisk() {
    if (!file_) return;
    writePending();
    if (!syncFileToDisk(file_)) failFile("write", named_, writeFailure());
}

ReplacingFile::ReplacingFile(fs::path target) : WorkFile(Fresh{}, target), target_(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    if (committed_) return;
    // Closed first: Windows deletes no file that is still open.
    try {
        close();
    } catch (const std::exception&) {
    }
    std::error_code ignored;
    fs::remove(path(), ignored);
}

void ReplacingFile::commit(Durability durability) {
    if (durability == Durability::Synced) syncToDisk();
    close();
    const int replaced = holdForReplacing(target_);
    std::error_code ec;
    fs::rename(path(), target_, ec);
    freeAside(replaced);
    if (ec) failFile("replace", target_, ec.message());
    committed_ = true;
    if (durability == Durability::Synced) syncFolderToDisk(target_.parent_path());
}

void writeWholeFile(const fs::path& path, std::string_view data) {
    WorkFile file(path);
    file.write(data);
    file.close();
}

void writeFileReplacing(const fs::path& path, std::string_view data, Durability durability) {
    ReplacingFile file(path);
    file.write(data);
    file.commit(durability);
}

void copyInBlocks(const fs::path& from, WorkFile& to, std::size_t blockSize) {
    SequentialReader in(from);
    for (std::string_view block; !(block = in.read(blockSize)).empty();) to.write(block);
}
