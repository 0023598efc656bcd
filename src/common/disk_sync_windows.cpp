#include <io.h>
#include <windows.h>

#include "common/disk_sync.h"

bool syncFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
}

// NTFS journals a rename itself; a folder cannot be opened for flushing without extra rights.
void syncFolderToDisk(const std::filesystem::path&) {}
