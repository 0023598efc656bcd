// A serving zlibc's answers as they may come from any program: taken off the front one by one,
// each either complete or malformed, never past the bytes given.
#include <cstdint>
#include <optional>
#include <string>

#include "shell/zlibc_worker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (bool malformed = false; !malformed;) {
        const std::size_t before = bytes.size();
        std::optional<ToolResult> answer = takeAnswerFrom(bytes, malformed);
        if (!answer) break;
        if (!malformed && (bytes.size() + answer->errors.size() >= before)) __builtin_trap();  // nothing taken
    }
    return 0;
}
