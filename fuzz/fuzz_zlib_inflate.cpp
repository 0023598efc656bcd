// zlibc's -d input path: a zlib-wrapped stream is inflated or refused with a reason.
#include <cstdint>

#include "zlibc/block_arena.h"
#include "zlibc/zlib_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes output{nullptr, 0};
    ZlibcFailure failure;
    if (inflateZlibWrapped(data, size, &output, &failure)) zlibcFree(output.data);
    return 0;
}
