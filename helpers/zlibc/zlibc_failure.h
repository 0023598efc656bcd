// What went wrong in a zlibc run: the reason of the one line it prints.
#pragma once

#include <stdbool.h>

#ifdef __cplusplus
extern "C" {
#endif

// Long enough for a reason that names a file by its full path.
typedef struct {
    char text[8192];
} ZlibcFailure;

#if defined(__GNUC__) || defined(__clang__)
#define ZLIBC_PRINTF_LIKE(format_index) __attribute__((format(printf, format_index, format_index + 1)))
#else
#define ZLIBC_PRINTF_LIKE(format_index)
#endif

// Sets the reason and returns false, so that a failing step can end with `return fail(...)`.
bool fail(ZlibcFailure* failure, const char* format, ...) ZLIBC_PRINTF_LIKE(2);
// "cannot <action> '<path>': <reason>".
bool failOnFile(ZlibcFailure* failure, const char* action, const char* path, const char* reason);

#ifdef __cplusplus
}
#endif
