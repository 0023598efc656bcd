#include "zlibc_serve.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "block_arena.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

enum { kConverted = 0, kFailed = 1, kBadJob = 2 };
// Longer than any path a file system takes; a longer length means the framing is lost.
enum { kLongestPath = 64 * 1024 };

int formatReasonLine(char* line, int capacity, const char* reason) {
    int length = snprintf(line, (size_t)capacity, "zlibc: %s\n", reason);
    if (length < 0) return 0;
    if (length >= capacity) length = capacity - 1;
    for (int i = 0; i < length - 1; ++i)
        if (line[i] == '\n' || line[i] == '\r') line[i] = ' ';
    line[length - 1] = '\n';
    return length;
}

// "<d|k> <n> <m>\n": false at the end of the input or for anything else.
static bool readJobHeader(bool* inflate, size_t* inLength, size_t* outLength) {
    char header[64];
    if (!fgets(header, sizeof header, stdin)) return false;
    char kind = 0, end = 0;
    unsigned long n = 0, m = 0;
    if (sscanf(header, "%c %lu %lu%c", &kind, &n, &m, &end) != 4 || end != '\n' || (kind != 'd' && kind != 'k'))
        return false;
    if (n == 0 || m == 0 || n > kLongestPath || m > kLongestPath) return false;
    *inflate = kind == 'd';
    *inLength = n;
    *outLength = m;
    return true;
}

// A path of `length` bytes from the input, ended by a zero byte; NULL when the input ends first.
static char* readPath(size_t length, bool* holdsZero) {
    char* path = (char*)malloc(length + 1);
    if (!path) return NULL;
    if (fread(path, 1, length, stdin) != length) {
        free(path);
        return NULL;
    }
    path[length] = 0;
    if (memchr(path, 0, length)) *holdsZero = true;
    return path;
}

static bool answer(int code, const char* message, int length) {
    return fprintf(stdout, "%d %d\n", code, length) > 0 && fwrite(message, 1, (size_t)length, stdout) == (size_t)length &&
           fflush(stdout) == 0;
}

int serveJobs(ZlibcConversion convert) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    static ZlibcFailure failure;
    static char line[sizeof(ZlibcFailure) + 16];
    if (fputs("zlibc-serve 1\n", stdout) < 0 || fflush(stdout) != 0) return kFailed;
    for (;;) {
        bool inflate = false, holdsZero = false;
        size_t inLength = 0, outLength = 0;
        int first = getc(stdin);
        if (first == EOF) return kConverted;  // the caller is done
        ungetc(first, stdin);
        if (!readJobHeader(&inflate, &inLength, &outLength)) return kBadJob;
        char* in = readPath(inLength, &holdsZero);
        char* out = in ? readPath(outLength, &holdsZero) : NULL;
        if (!out) {
            free(in);
            return kBadJob;
        }
        int code = kConverted, length = 0;
        if (holdsZero) {
            code = kBadJob;
            length = formatReasonLine(line, (int)sizeof line, "a path holds a zero byte");
        } else if (!convert(inflate, in, out, &failure)) {
            code = kFailed;
            length = formatReasonLine(line, (int)sizeof line, failure.text);
        }
        free(in);
        free(out);
        zlibcResetArena();  // every block of the job has been given back
        if (!answer(code, line, length)) return kFailed;
    }
}
