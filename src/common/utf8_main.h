// The entry point of each of our programs, in one place: VR_UTF8_MAIN(run) defines main (wmain
// on Windows) to call `int run(const std::vector<std::string>& argv)` with the arguments as
// UTF-8. On Windows they come as UTF-16, whatever the system's code page, and standard output
// and error are put in binary mode, so that lines end in LF and CR LF pairs go out unchanged,
// as in every build.
#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "common/utf16.h"

#define VR_UTF8_MAIN(run)                     \
    int wmain(int argc, wchar_t** argv) {     \
        _setmode(_fileno(stdout), _O_BINARY); \
        _setmode(_fileno(stderr), _O_BINARY); \
        return run(utf8Arguments(argc, argv)); \
    }
#else
#define VR_UTF8_MAIN(run) \
    int main(int argc, char** argv) { return run(std::vector<std::string>(argv, argv + argc)); }
#endif
