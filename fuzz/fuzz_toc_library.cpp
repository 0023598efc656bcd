// The library .toc reader and its case-insensitive lookup.
#include <cstdint>
#include <string_view>

#include "format/library_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto lines = readTocLibrary(text);
    for (const TocLibraryLine& line : lines)
        if (findTocLibraryLine(lines, line.path) == nullptr) __builtin_trap();
    findTocLibraryLine(lines, text.substr(0, 64));
    return 0;
}
