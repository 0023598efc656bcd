#include "shell/work_folder_choice.h"

#include <cstdlib>

#include "common/files.h"
#include "shell/app_paths.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
fs::path localDataFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    return local && *local ? fs::path(local) : fs::path();
}
#else
fs::path localDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && fs::path(data).is_absolute()) return data;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && *home ? fs::path(home) / ".local" / "share" : fs::path();
}
#endif

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
