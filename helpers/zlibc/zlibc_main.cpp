// zlibc: `zlibc -d IN OUT` inflates a zlib-wrapped file, `zlibc -k IN OUT` writes a complete
// zlib stream of IN. Exit 0 on success; otherwise one line on stderr and a non-zero code,
// with OUT untouched. It runs once per file, so it starts with nothing to set up.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "zlib_stream.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

// One line, whatever the file names hold.
void printReason(std::string reason) {
    for (char& c : reason)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "zlibc: %s\n", reason.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    bool inflate = argc == 4 && std::strcmp(argv[1], "-d") == 0;
    bool deflate = argc == 4 && std::strcmp(argv[1], "-k") == 0;
    if (!inflate && !deflate) {
        std::fputs("zlibc: usage: zlibc -d IN OUT (inflate) or zlibc -k IN OUT (deflate)\n", stderr);
        return kBadArguments;
    }
    try {
        Bytes input = readInputFile(argv[2]);
        Bytes output = inflate ? inflateZlibWrapped(input) : deflateToZlib(input);
        writeOutputFile(argv[3], output.data.get(), output.size);
        return 0;
    } catch (const ZlibcError& error) {
        printReason(error.what());
    } catch (const std::bad_alloc&) {
        printReason("out of memory");
    }
    return kFailed;
}
