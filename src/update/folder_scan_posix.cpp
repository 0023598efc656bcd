#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "common/file_stamp_posix.h"
#include "common/leftovers.h"
#include "update/folder_scan.h"

namespace {

struct FolderCloser {
    DIR* dir;
    ~FolderCloser() { closedir(dir); }
};

// The folder that `fd` has open, its files then its sub-folders, each in byte order of the
// names; false when anything in it is not plain. Takes `fd` over.
bool scanFolder(int fd, const std::string& prefix, std::vector<ScannedFile>& files,
                const std::function<void()>& afterFolder) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    FolderCloser closer{dir};
    std::vector<std::string> fileNames, folderNames;
    errno = 0;
    while (const dirent* item = readdir(dir)) {
        const std::string_view name = item->d_name;
        if (name == "." || name == "..") continue;
        if (name.find_first_of("\\:") != std::string_view::npos) return false;
        if (item->d_type == DT_REG)
            fileNames.emplace_back(name);
        else if (item->d_type == DT_DIR)
            folderNames.emplace_back(name);
        else
            return false;  // a link, another kind of file or a type the listing does not give
    }
    if (errno != 0) return false;
    if (afterFolder) afterFolder();
    std::sort(fileNames.begin(), fileNames.end());
    std::sort(folderNames.begin(), folderNames.end());
    const std::string lead = prefix.empty() ? prefix : prefix + '\\';
    for (const std::string& name : fileNames) {
        if (isLeftoverName(name)) continue;
        struct stat status;
        files.push_back(
            {lead + name, fstatat(fd, name.c_str(), &status, 0) == 0 ? stampOfStatus(status) : std::nullopt});
    }
    for (const std::string& name : folderNames) {
        const int sub = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0 || !scanFolder(sub, lead + name, files, afterFolder)) return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<ScannedFile>> scanPlainFolder(const std::filesystem::path& folder,
                                                        const std::function<void()>& afterFolder) {
    // The folder itself may be a link: the walk follows the one it was given.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<ScannedFile> files;
    if (fd < 0 || !scanFolder(fd, {}, files, afterFolder)) return std::nullopt;
    return files;
}
