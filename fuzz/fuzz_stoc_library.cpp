// The library .stoc parser: groups or a header error, never more names than declared.
#include <cstdint>
#include <string_view>

#include "format/library_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StocLibrary library = parseStocLibrary(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const StocLibraryGroup& group : library.groups)
        if (group.declaredSize < 0 || group.names.size() > static_cast<std::size_t>(group.declaredSize))
            __builtin_trap();
    if (library.error) stocHeaderErrorText(*library.error);
    return 0;
}
