// Opening arbitrary archive bytes: the table reader fails cleanly or reads every TOC entry, and
// the list lines and library texts of what it read are built or fail cleanly.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"

namespace {

// The reader works on files; a memory-backed folder keeps each run cheap.
const std::filesystem::path& inputFile() {
    static const std::filesystem::path file =
        (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
        ("vr-fuzz-" + std::to_string(getpid()) + ".mpak");
    return file;
}

void removeInputFile() {
    std::error_code ignored;
    std::filesystem::remove(inputFile(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& file = inputFile();
    // Registered after the path exists, so it runs before the path is destroyed: the fuzzer
    // leaves no file behind when it exits.
    static const bool removedAtExit = std::atexit(removeInputFile) == 0;
    (void)removedAtExit;
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
