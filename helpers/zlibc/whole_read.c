#include "whole_read.h"

#include <errno.h>
#include <stdint.h>

#include "block_arena.h"
#include "system_error_text.h"

bool readWholeOpenFile(int file, unsigned long long size, ReadSome readSome, const char* path, Bytes* input,
                       ZlibcFailure* failure) {
    if (size > ZLIBC_MAX_DATA_SIZE)
        return failOnFile(failure, "read", path, "larger than " ZLIBC_MAX_DATA_SIZE_TEXT " bytes");
    uint8_t* data = (uint8_t*)zlibcAllocate((size_t)size + 1);
    if (!data) return fail(failure, "out of memory");
    size_t got = 0;
    for (;;) {
        long n = readSome(file, data + got, (size_t)size + 1 - got);
        if (n < 0) {
            int error = errno;
            zlibcFree(data);
            return failOnFile(failure, "read", path, systemErrorText(error));
        }
        got += (size_t)n;
        // A regular file's read stops short only at its end.
        if (n == 0 || got >= size) break;
    }
    if (got != size) {
        zlibcFree(data);
        return failOnFile(failure, "read", path,
                          got < size ? "the file became shorter while being read" : "the file grew while being read");
    }
    input->data = data;
    input->size = (size_t)size;
    return true;
}
