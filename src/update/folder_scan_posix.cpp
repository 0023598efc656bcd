#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <string_view>

#include "common/every_core.h"
#include "common/file_stamp_posix.h"
#include "common/leftovers.h"
#include "update/folder_scan.h"

namespace {

// An open folder, closed with its last user.
class OpenFolder {
public:
    explicit OpenFolder(int fd) : fd_(fd) {}
    ~OpenFolder() {
        if (fd_ >= 0) close(fd_);
    }
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

struct Listing {
    std::vector<std::string> files, folders;  // each in byte order
};

// False when anything in the folder is not plain.
bool listPlain(int fd, Listing& listing) {
    DIR* dir = fdopendir(dup(fd));
    if (!dir) return false;
    std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, closedir);
    errno = 0;
    while (const dirent* item = readdir(dir)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        if (name.find_first_of("\\:") != std::string_view::npos) return false;
        if (item->d_type == DT_REG)
            listing.files.emplace_back(name);
        else if (item->d_type == DT_DIR)
            listing.folders.emplace_back(name);
        else
            return false;  // a link, another kind of file or a type the listing does not give
    }
    if (errno != 0) return false;
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    return true;
}

std::string below(const std::string& prefix, const std::string& name) {
    return prefix.empty() ? name : prefix + '\\' + name;
}

void addFiles(int fd, const std::string& prefix, const Listing& listing, std::vector<ScannedFile>& files) {
    for (const std::string& name : listing.files) {
        if (isLeftoverName(name)) continue;
        struct stat status;
        files.push_back(
            {below(prefix, name), fstatat(fd, name.c_str(), &status, 0) == 0 ? stampOfStatus(status) : std::nullopt});
    }
}

int openBelow(int fd, const std::string& name) {
    return openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The folder's files, then its sub-folders', depth first.
bool scanTree(int fd, const std::string& prefix, std::vector<ScannedFile>& files) {
    Listing listing;
    if (!listPlain(fd, listing)) return false;
    addFiles(fd, prefix, listing, files);
    for (const std::string& name : listing.folders) {
        const OpenFolder sub(openBelow(fd, name));
        if (sub.fd() < 0 || !scanTree(sub.fd(), below(prefix, name), files)) return false;
    }
    return true;
}

// A part of the scan in its order: a folder's files, or a sub-tree still to scan below a folder
// that stays open until it is.
struct Part {
    std::vector<ScannedFile> files;
    std::shared_ptr<OpenFolder> parent;  // null: the files are all there is
    std::string name, prefix;
};

// The first sub-trees are listed here, until there are enough to keep every core busy; each is
// then scanned on a core of its own.
bool splitForCores(std::vector<Part>& parts, const std::function<void()>& afterFolder) {
    constexpr std::size_t kPartsPerThread = 8, kMostSplits = 64;
    const std::size_t enough = kPartsPerThread * everyCoreThreads();
    std::size_t splits = 0;
    for (std::size_t i = 0; i < parts.size() && parts.size() < enough && splits < kMostSplits; ++i) {
        if (!parts[i].parent) continue;
        auto folder = std::make_shared<OpenFolder>(openBelow(parts[i].parent->fd(), parts[i].name));
        Listing listing;
        if (folder->fd() < 0 || !listPlain(folder->fd(), listing)) return false;
        ++splits;
        std::vector<Part> split{{{}, nullptr, {}, {}}};
        addFiles(folder->fd(), parts[i].prefix, listing, split[0].files);
        for (const std::string& name : listing.folders)
            split.push_back({{}, folder, name, below(parts[i].prefix, name)});
        parts.erase(parts.begin() + std::ptrdiff_t(i));
        parts.insert(parts.begin() + std::ptrdiff_t(i), std::make_move_iterator(split.begin()),
                     std::make_move_iterator(split.end()));
        if (afterFolder) afterFolder();
    }
    return true;
}

}  // namespace

std::optional<std::vector<ScannedFile>> scanPlainFolder(const std::filesystem::path& folder,
                                                        const std::function<void()>& afterFolder) {
    // The folder itself may be a link: the walk follows the one it was given.
    auto root = std::make_shared<OpenFolder>(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (root->fd() < 0) return std::nullopt;
    std::vector<Part> parts{{{}, root, ".", {}}};
    if (!splitForCores(parts, afterFolder)) return std::nullopt;
    std::atomic<bool> plain{true};
    onEveryCore(
        parts.size(),
        [&](std::size_t i, std::size_t) {
            Part& part = parts[i];
            if (!part.parent || !plain) return;
            const OpenFolder sub(openBelow(part.parent->fd(), part.name));
            if (sub.fd() < 0 || !scanTree(sub.fd(), part.prefix, part.files)) plain = false;
        },
        afterFolder);
    if (!plain) return std::nullopt;
    std::vector<ScannedFile> files;
    for (Part& part : parts) std::move(part.files.begin(), part.files.end(), std::back_inserter(files));
    return files;
}
