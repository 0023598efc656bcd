// The FSB3 bank reader of fsbext: every sample it accepts lies inside the bank.
#include <cstdint>
#include <string_view>

#include "common/failure.h"
#include "fsbext/fsb3_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        for (const Fsb3Sample& sample : readFsb3Bank(std::string_view(reinterpret_cast<const char*>(data), size)))
            if (sample.dataOffset > size || sample.dataLength > size - sample.dataOffset) __builtin_trap();
    } catch (const Failure&) {
    }
    return 0;
}
