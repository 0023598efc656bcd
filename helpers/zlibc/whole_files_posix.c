// zlibc's files on POSIX systems.
#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "block_arena.h"
#include "system_error_text.h"
#include "whole_files.h"
#include "whole_read.h"

// How many temporary names are tried before giving up on a folder full of leftovers.
enum { kTemporaryNames = 1000 };

static long readSome(int file, void* buffer, size_t count) {
    for (;;) {
        ssize_t n = read(file, buffer, count);
        if (n >= 0 || errno != EINTR) return (long)n;
    }
}

static bool readOpenFile(int file, const char* path, Bytes* input, ZlibcFailure* failure) {
    struct stat status;
    if (fstat(file, &status) != 0) return failOnFile(failure, "read", path, systemErrorText(errno));
    if (S_ISDIR(status.st_mode)) return failOnFile(failure, "read", path, systemErrorText(EISDIR));
    if (!S_ISREG(status.st_mode)) return failOnFile(failure, "read", path, "it is not a regular file");
    return readWholeOpenFile(file, (unsigned long long)status.st_size, readSome, path, input, failure);
}

bool readInputFile(const char* path, Bytes* input, ZlibcFailure* failure) {
    // O_NONBLOCK: opening a FIFO returns at once, so that it can be refused.
    int file = open(path, O_RDONLY | O_NONBLOCK);
    if (file < 0) return failOnFile(failure, "read", path, systemErrorText(errno));
    bool whole = readOpenFile(file, path, input, failure);
    close(file);
    return whole;
}

// The temporary file's name: OUT's folder (up to its last '/') and ".zlibc-<n>.tmp". Put
// together by hand: snprintf's deep frames would reach one more page of stack on every run.
static void nameTemporaryFile(char* name, const char* output, int attempt) {
    const char* slash = strrchr(output, '/');
    size_t folderLength = slash ? (size_t)(slash - output + 1) : 0;
    memcpy(name, output, folderLength);
    char* at = name + folderLength;
    memcpy(at, ".zlibc-", 7);
    at += 7;
    char digits[12];
    int count = 0;
    do digits[count++] = (char)('0' + attempt % 10);
    while ((attempt /= 10) > 0);
    while (count > 0) *at++ = digits[--count];
    memcpy(at, ".tmp", 5);
}

// A new file of a free temporary name in the output's folder; O_EXCL never opens an existing
// name, a link planted there included.
static int createTemporaryFile(const char* output, char* name, ZlibcFailure* failure) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        nameTemporaryFile(name, output, attempt);
        int file = open(name, O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (file >= 0) return file;
        if (errno != EEXIST) {
            failOnFile(failure, "write", output, systemErrorText(errno));
            return -1;
        }
    }
    failOnFile(failure, "write", output, "too many temporary files are left in its folder");
    return -1;
}

static bool writeAll(int file, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(file, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;  // a write that takes nothing: no room, as on Windows
            return false;
        }
        data += n;
        size -= (size_t)n;
    }
    return true;
}

static bool writeAndRename(int file, const char* temporary, const char* output, const uint8_t* data, size_t size,
                           ZlibcFailure* failure) {
    // Failures name OUT, not the temporary file.
    bool written = writeAll(file, data, size);
    int error = errno;
    if (close(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) return failOnFile(failure, "write", output, systemErrorText(error));
    if (rename(temporary, output) != 0) return failOnFile(failure, "replace", output, systemErrorText(errno));
    return true;
}

bool writeOutputFile(const char* output, const uint8_t* data, size_t size, ZlibcFailure* failure) {
    size_t nameSize = strlen(output) + sizeof ".zlibc-1000.tmp";
    char* temporary = (char*)zlibcAllocate(nameSize);
    if (!temporary) return fail(failure, "out of memory");
    int file = createTemporaryFile(output, temporary, failure);
    bool replaced = file >= 0 && writeAndRename(file, temporary, output, data, size, failure);
    if (file >= 0 && !replaced) unlink(temporary);
    zlibcFree(temporary);
    return replaced;
}
