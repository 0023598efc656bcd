#include "shell/work_folder_choice.h"

#include "common/files.h"
#include "shell/app_paths.h"
#include "shell/host_conventions.h"

namespace fs = std::filesystem;

namespace {

// A file of a fresh name created exclusively, never committed: it is removed again.
bool canWriteIn(const fs::path& folder) {
    try {
        ReplacingFile probe(folder / "VantrelRipper.probe");
        probe.close();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

fs::path perUserWorkFolder() {
    fs::path data = localDataFolder();
    return data.empty() ? data : data / "VantrelRipper";
}

bool canHoldWorkFolders(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || (fs::create_directories(folder, ec), ec)) return false;
    for (const fs::path& workFolder : workFolderPaths(folder)) {
        fs::create_directory(workFolder, ec);
        if (ec || !canWriteIn(workFolder)) return false;
    }
    return true;
}

bool isInstalledCopy(const fs::path& programFolder) { return fileExists(programFolder / VR_INSTALLED_MARK); }

ClaimedWorkFolder claimWorkFolder(const fs::path& programFolder, const fs::path& perUser) {
    // An installed copy never works beside itself, even where it could write there (as root).
    const bool installed = isInstalledCopy(programFolder);
    for (const fs::path& candidate : {installed ? fs::path() : programFolder, perUser}) {
        if (candidate.empty()) continue;
        auto lock = std::make_unique<WorkFolderLock>(candidate);
        if (lock->state() == LockState::HeldByAnother || canHoldWorkFolders(candidate))
            return {candidate, std::move(lock)};
    }
    const fs::path fallback = installed && !perUser.empty() ? perUser : programFolder;
    return {fallback, std::make_unique<WorkFolderLock>(fallback)};
}
