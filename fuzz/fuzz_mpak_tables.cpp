// The archive table reader on arbitrary archive bytes: it must fail cleanly or read entries
// whose data lies inside the file.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "format/archive_tables.h"
#include "common/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader works on files; a memory-backed folder keeps each run cheap.
    static const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
    static const std::filesystem::path file = folder / ("vr-fuzz-" + std::to_string(getpid()) + ".mpak");
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    try {
        ArchiveLayout layout = readArchiveLayout(file);
        ArchiveTables tables = readArchiveTables(file, layout);
        for (const EntrySlot& entry : tables.entries) {
            if (entry.entryCopies > 0 && entry.entryStoredSize > 0 &&
                static_cast<std::uint64_t>(entry.entryDataOffset) + entry.entryStoredSize > size)
                __builtin_trap();  // an entry with data must have it inside the file
        }
    } catch (const Failure&) {
    }
    return 0;
}
