#include <fcntl.h>
#include <unistd.h>

#include "common/disk_sync.h"

bool syncFileToDisk(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

void syncFolderToDisk(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // a folder that cannot be synced still holds the renamed file
    ::close(fd);
}
