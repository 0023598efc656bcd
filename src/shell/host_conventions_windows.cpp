#include <cstdlib>

#include "shell/host_conventions.h"

namespace fs = std::filesystem;

std::string programFileName(const char* name) { return std::string(name) + ".exe"; }

bool mayRun(const fs::path&) { return true; }

fs::path localDataFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    return local && *local ? fs::path(local) : fs::path();
}

bool namesIgnoreLetterCase() { return true; }
