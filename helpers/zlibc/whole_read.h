// Reading a regular file whole, the part zlibc's two platforms share: the size checked, one
// read of one byte more than the file holds, so that a file that grows meanwhile is noticed.
#pragma once

#include <stddef.h>

#include "whole_files.h"

#ifdef __cplusplus
extern "C" {
#endif

// Reads at most `count` bytes into `buffer`: the number read, 0 at the end, -1 with errno set.
typedef long (*ReadSome)(int file, void* buffer, size_t count);

// Reads the open regular file of `size` bytes through `readSome`.
bool readWholeOpenFile(int file, unsigned long long size, ReadSome readSome, const char* path, Bytes* input,
                       ZlibcFailure* failure);

#ifdef __cplusplus
}
#endif
