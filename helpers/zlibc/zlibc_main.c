// zlibc: `zlibc -d IN OUT` inflates a zlib-wrapped file, `zlibc -k IN OUT` writes a complete
// zlib stream of IN. Exit 0 on success; otherwise one line on stderr and exit 1 (2 for bad
// arguments), with OUT untouched. `zlibc --serve` does such jobs one after another for as long
// as its input lasts (zlibc_serve.h). A run may do one file only, so it is plain C that sets up
// nothing it does not use: one read, one conversion, one write.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <libdeflate.h>

#include "block_arena.h"
#include "processor_check.h"
#include "zlibc_serve.h"
#include "zlib_stream.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "utf16_windows.h"
#endif

enum { kConverted = 0, kFailed = 1, kBadArguments = 2 };

// One line, whatever the file names hold, in one write: zlibc runs sharing a stderr do not
// mix their lines.
static void printReason(const char* reason) {
    char line[sizeof(ZlibcFailure) + 16];
    fwrite(line, 1, (size_t)formatReasonLine(line, (int)sizeof line, reason), stderr);
}

// Set for a run of one file only: once set, the check is skipped for every later input.
static bool oneFileOnly;

static bool convertBytes(bool inflate, const Bytes* input, Bytes* output, ZlibcFailure* failure) {
    if (oneFileOnly) skipProcessorCheckForSmallInput(input->size);
    return inflate ? inflateZlibWrapped(input->data, input->size, output, failure)
                   : deflateToZlib(input->data, input->size, output, failure);
}

static bool convert(bool inflate, const char* in, const char* out, ZlibcFailure* failure) {
    Bytes input = {NULL, 0}, output = {NULL, 0};
    bool converted = readInputFile(in, &input, failure) && convertBytes(inflate, &input, &output, failure) &&
                     writeOutputFile(out, output.data, output.size, failure);
    zlibcFree(input.data);
    zlibcFree(output.data);
    return converted;
}

static int run(int argc, char** argv) {
    libdeflate_set_memory_allocator(zlibcAllocate, zlibcFree);
    if (argc == 2 && strcmp(argv[1], "--serve") == 0) return serveJobs(convert);
    bool inflate = argc == 4 && strcmp(argv[1], "-d") == 0;
    bool deflate = argc == 4 && strcmp(argv[1], "-k") == 0;
    if (!inflate && !deflate) {
        fputs("zlibc: usage: zlibc -d IN OUT (inflate) or zlibc -k IN OUT (deflate)\n", stderr);
        return kBadArguments;
    }
    oneFileOnly = true;
    // Static, not on the stack: a run that succeeds never touches its 8 KiB, whereas a stack
    // frame that large is probed page by page, and each page is one more fault.
    static ZlibcFailure failure;
    if (convert(inflate, argv[2], argv[3], &failure)) return kConverted;
    printReason(failure.text);
    return kFailed;
}

#ifdef _WIN32
// The arguments as UTF-16, turned into the UTF-8 that the rest of zlibc works in; standard
// error in binary mode, so that a line ends in LF as in every build.
int wmain(int argc, wchar_t** wideArgv) {
    _setmode(_fileno(stderr), _O_BINARY);
    char** argv = utf8FromUtf16Arguments(argc, wideArgv);
    if (!argv) {
        fputs("zlibc: out of memory\n", stderr);
        return kFailed;
    }
    return run(argc, argv);
}
#else
int main(int argc, char** argv) { return run(argc, argv); }
#endif
