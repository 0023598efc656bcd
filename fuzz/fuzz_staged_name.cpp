// The staged-name parser on arbitrary names, and building then parsing a name from the input.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/failure.h"
#include "pack/staged_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        parseStagedName(text);
    } catch (const Failure&) {
    }
    std::string path(text.substr(0, 200));
    if (path.empty()) return 0;
    StagedName back = parseStagedName(buildStagedName(path, static_cast<std::int64_t>(size), "3", true, true));
    if (back.originalSize != static_cast<std::int32_t>(size) || back.copies != 3 || !back.newFile || !back.compressed)
        __builtin_trap();
    return 0;
}
