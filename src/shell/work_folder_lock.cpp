#include "shell/work_folder_lock.h"

#include <cstdio>
#include <exception>
#include <string>

#include "common/files.h"
#include "common/links.h"
#include "common/text.h"
#include "shell/host_conventions.h"

namespace fs = std::filesystem;

namespace {

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// The one spelling of a folder: absolute, links resolved, no trailing separator. File names on
// Windows ignore letter case.
std::string folderKey(const fs::path& folder) {
    std::error_code ec;
    fs::path path = resolvedPath(folder);
    if (path.empty()) path = fs::absolute(folder, ec).lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    std::u8string text = path.generic_u8string();
    std::string key(text.begin(), text.end());
    return namesIgnoreLetterCase() ? asciiLower(key) : key;
}

}  // namespace

std::string workFolderId(const fs::path& workFolder) {
    char id[40];
    std::snprintf(id, sizeof id, "VantrelRipper-%016llx",
                  static_cast<unsigned long long>(fnv1a64(folderKey(workFolder))));
    return id;
}

fs::path workFolderLockPath(const fs::path& workFolder) { return workFolder / "VantrelRipper.lock"; }

std::string lockRefusalText(const fs::path& workFolder, const std::string& problem) {
    return "Cannot lock the work folder '" + pathText(workFolder) + "': " + problem +
           ". Nothing was done: without the lock another copy could delete this one's files.";
}

WorkFolderLock::WorkFolderLock(const fs::path& workFolder) {
    try {
        std::error_code ec;
        fs::create_directories(workFolder, ec);  // a fresh per-user folder; a failure shows below
        handle_ = lockFileExclusively(workFolderLockPath(workFolder), state_, problem_);
    } catch (const std::exception& e) {
        state_ = LockState::Unavailable;  // a path the system cannot convert
        problem_ = e.what();
    }
}

WorkFolderLock::~WorkFolderLock() {
    if (handle_ != -1) releaseLockFile(handle_);
}
