// zlibc's files on Windows. Paths arrive as UTF-8 (see zlibc_main.c) and are opened as UTF-16;
// the C runtime's _wopen sets errno, so failures read as on POSIX.
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

#include "system_error_text.h"
#include "utf16_windows.h"
#include "whole_files.h"
#include "whole_read.h"

// How many temporary names are tried before giving up on a folder full of leftovers.
enum { kTemporaryNames = 1000 };

// The largest count one _read or _write call takes.
enum { kLargestTransfer = 1 << 30 };

static long readSome(int file, void* buffer, size_t count) {
    return _read(file, buffer, (unsigned)(count < kLargestTransfer ? count : kLargestTransfer));
}

static bool readOpenFile(int file, const char* path, Bytes* input, ZlibcFailure* failure) {
    struct _stat64 status;
    if (_fstat64(file, &status) != 0) return failOnFile(failure, "read", path, systemErrorText(errno));
    if (!(status.st_mode & _S_IFREG)) return failOnFile(failure, "read", path, "it is not a regular file");
    return readWholeOpenFile(file, (unsigned long long)status.st_size, readSome, path, input, failure);
}

bool readInputFile(const char* path, Bytes* input, ZlibcFailure* failure) {
    wchar_t* widePath = utf16FromUtf8(path);
    if (!widePath) return failOnFile(failure, "read", path, "the name is not valid UTF-8");
    int file = _wopen(widePath, _O_RDONLY | _O_BINARY);
    int error = errno;
    // The C runtime refuses to open a folder with "Permission denied"; say what it is.
    struct _stat64 status;
    if (file < 0 && error == EACCES && _wstat64(widePath, &status) == 0 && (status.st_mode & _S_IFDIR)) error = EISDIR;
    free(widePath);
    if (file < 0) return failOnFile(failure, "read", path, systemErrorText(error));
    bool whole = readOpenFile(file, path, input, failure);
    _close(file);
    return whole;
}

// The temporary file's name: OUT's folder (up to its last separator) and ".zlibc-<n>.tmp".
static void nameTemporaryFile(char* name, size_t nameSize, const char* output, int attempt) {
    const char* separator = NULL;
    for (const char* c = output; *c; ++c)
        if (*c == '\\' || *c == '/') separator = c;
    int folderLength = separator ? (int)(separator - output + 1) : 0;
    snprintf(name, nameSize, "%.*s.zlibc-%d.tmp", folderLength, output, attempt);
}

// A new file of a free temporary name in the output's folder; _O_EXCL (CREATE_NEW) never opens
// an existing name, a link planted there included.
static int createTemporaryFile(const char* output, char* name, size_t nameSize, ZlibcFailure* failure) {
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        nameTemporaryFile(name, nameSize, output, attempt);
        wchar_t* wideName = utf16FromUtf8(name);
        if (!wideName) {
            failOnFile(failure, "write", output, "the name is not valid UTF-8");
            return -1;
        }
        int file = _wopen(wideName, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        int error = errno;
        free(wideName);
        if (file >= 0) return file;
        if (error != EEXIST) {
            failOnFile(failure, "write", output, systemErrorText(error));
            return -1;
        }
    }
    failOnFile(failure, "write", output, "too many temporary files are left in its folder");
    return -1;
}

static bool writeAll(int file, const uint8_t* data, size_t size) {
    while (size > 0) {
        int n = _write(file, data, (unsigned)(size < kLargestTransfer ? size : kLargestTransfer));
        if (n <= 0) {
            // The C runtime takes ERROR_HANDLE_DISK_FULL for EINVAL; it means a full disk.
            if (n == 0 || (errno == EINVAL && _doserrno == ERROR_HANDLE_DISK_FULL)) errno = ENOSPC;
            return false;
        }
        data += n;
        size -= (size_t)n;
    }
    return true;
}

// MoveFileExW's reasons in the words of the errno values that mean the same.
static const char* moveErrorText(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return systemErrorText(ENOENT);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return systemErrorText(EACCES);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return systemErrorText(ENOSPC);
        default:
            return systemErrorText(EIO);
    }
}

// Replaces OUT by the temporary file in one step, as rename does on POSIX (the C runtime's
// rename refuses an existing target).
static bool replaceOutput(const char* temporary, const char* output, ZlibcFailure* failure) {
    wchar_t* from = utf16FromUtf8(temporary);
    wchar_t* to = utf16FromUtf8(output);
    bool moved = from && to && MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING);
    DWORD error = GetLastError();
    free(from);
    free(to);
    return moved || failOnFile(failure, "replace", output, moveErrorText(error));
}

static bool writeAndRename(int file, const char* temporary, const char* output, const uint8_t* data, size_t size,
                           ZlibcFailure* failure) {
    // Failures name OUT, not the temporary file.
    bool written = writeAll(file, data, size);
    int error = errno;
    if (_close(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) return failOnFile(failure, "write", output, systemErrorText(error));
    return replaceOutput(temporary, output, failure);
}

bool writeOutputFile(const char* output, const uint8_t* data, size_t size, ZlibcFailure* failure) {
    size_t nameSize = strlen(output) + sizeof ".zlibc-1000.tmp";
    char* temporary = (char*)malloc(nameSize);
    if (!temporary) return fail(failure, "out of memory");
    int file = createTemporaryFile(output, temporary, nameSize, failure);
    bool replaced = file >= 0 && writeAndRename(file, temporary, output, data, size, failure);
    if (file >= 0 && !replaced) {
        wchar_t* wideName = utf16FromUtf8(temporary);
        if (wideName) _wunlink(wideName);
        free(wideName);
    }
    free(temporary);
    return replaced;
}
