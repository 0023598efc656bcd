// zlibc's -d input path: a zlib-wrapped stream is inflated or refused with a reason.
#include <cstdint>
#include <cstring>

#include "zlibc/whole_files.h"
#include "zlibc/zlib_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes input = uninitializedBytes(size);
    if (size > 0) std::memcpy(input.data.get(), data, size);
    input.size = size;
    try {
        inflateZlibWrapped(input);
    } catch (const ZlibcError&) {
    }
    return 0;
}
