// The model texture scan: it must end on every input (libFuzzer's -timeout catches a loop).
#include <cstdint>
#include <string_view>

#include "tools/texture_name_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view model(reinterpret_cast<const char*>(data), size);
    auto hits = findTextureNames(model);
    for (const TextureNameHit& hit : hits)
        if (hit.offset + 4 > size) __builtin_trap();
    listedTextureNames(hits);
    return 0;
}
