// zlibc's file access: the input read whole with one read, the output written with one write
// to a fresh temporary name in its folder and renamed into place only when complete. This is
// the one part that differs between platforms (whole_files_posix.c, whole_files_windows.c).
// Paths are UTF-8 on every platform.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "zlibc_failure.h"

#ifdef __cplusplus
extern "C" {
#endif

// A buffer from zlibcAllocate, owned by whoever holds it.
typedef struct {
    uint8_t* data;
    size_t size;
} Bytes;

// The largest input or output zlibc handles: the archive records sizes as signed 32-bit.
#define ZLIBC_MAX_DATA_SIZE ((size_t)0x7FFFFFFF)
#define ZLIBC_MAX_DATA_SIZE_TEXT "2147483647"

// Reads a regular file whole; anything else (a folder, a FIFO, a device) is refused without
// waiting on it.
bool readInputFile(const char* path, Bytes* input, ZlibcFailure* failure);
// Replaces `path` with `size` bytes through a temporary file created exclusively (never
// through a link planted on its name); on failure neither `path` nor a temporary file
// changes or remains, so an earlier file of that name stays as it was.
bool writeOutputFile(const char* path, const uint8_t* data, size_t size, ZlibcFailure* failure);

#ifdef __cplusplus
}
#endif
