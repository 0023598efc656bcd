// Opening arbitrary archive bytes: the table reader fails cleanly or reads every TOC entry, and
// the list lines and library texts of what it read are built or fail cleanly.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader works on files; a memory-backed folder keeps each run cheap.
    static const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                    ? std::filesystem::path("/dev/shm")
                                                    : std::filesystem::temp_directory_path();
    static const std::filesystem::path file = folder / ("vr-fuzz-" + std::to_string(getpid()) + ".mpak");
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    try {
        ArchiveLayout layout = readArchiveLayout(file);
        ArchiveTables tables = readArchiveTables(file, layout);
        if (layout.header.tocEntryCount > 0 &&
            tables.entries.size() != static_cast<std::size_t>(layout.header.tocEntryCount))
            __builtin_trap();  // every entry the header promises is read, or the open fails
        chunkLogLines(layout);
        stocShortfallLine(layout, tables);
        stocLibraryText(tables.stocGroups, layout.header.stocEntryCount);
        tocLibraryText(tables.entries);
        for (const EntrySlot& entry : tables.entries) listLine(entry);
    } catch (const Failure&) {
    }
    return 0;
}
