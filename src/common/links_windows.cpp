#include <windows.h>

#include "common/links.h"

namespace fs = std::filesystem;

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

fs::path resolvedPath(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    HANDLE file = CreateFileW(absolute.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fs::weakly_canonical(absolute, ec);
    std::wstring final(32768, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), 0);
    CloseHandle(file);
    if (length == 0 || length >= final.size()) return fs::weakly_canonical(absolute, ec);
    final.resize(length);
    if (final.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + final.substr(8);  // \\?\UNC\server\share
    if (final.starts_with(L"\\\\?\\")) return final.substr(4);
    return final;
}
