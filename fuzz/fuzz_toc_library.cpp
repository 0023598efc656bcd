// The library .toc reader and the packer's lookup in it: every line is found again by its own
// path, ignoring ASCII case, unless the index refuses the text for a bad copies field.
#include <cstdint>
#include <string_view>

#include "common/failure.h"
#include "pack/toc_library_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<TocLibraryLine> lines = readTocLibrary(text);
    try {
        TocLibraryIndex index(lines);
        for (const TocLibraryLine& line : lines)
            if (index.find(line.path) == nullptr) __builtin_trap();
        index.find(text.substr(0, 64));
    } catch (const Failure&) {
    }
    return 0;
}
