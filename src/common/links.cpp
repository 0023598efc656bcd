#include "common/links.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32

bool isLinkOrJunction(const fs::path& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;  // a reparse point that cannot be looked into is not followed
    FindClose(search);
    // Symbolic links and junctions are name surrogates; cloud-file placeholders, deduplicated and
    // compressed files are reparse points too, yet hold their own data. Wine shows a Unix
    // symbolic link to a folder as a reparse point without a tag.
    return IsReparseTagNameSurrogate(found.dwReserved0) || found.dwReserved0 == 0;
}

bool nameExists(const fs::path& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

#else

bool isLinkOrJunction(const fs::path& path) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(path, ec));
}

bool nameExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

#endif
