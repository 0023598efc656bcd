#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "shell/host_conventions.h"

namespace fs = std::filesystem;

std::string programFileName(const char* name) { return name; }

bool mayRun(const fs::path& path) { return access(path.c_str(), X_OK) == 0; }

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

bool namesIgnoreLetterCase() { return false; }
