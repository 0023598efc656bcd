// The reasons zlibc gives.
#include "zlibc_failure.h"

#include <stdarg.h>
#include <stdio.h>

bool fail(ZlibcFailure* failure, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(failure->text, sizeof failure->text, format, arguments);
    va_end(arguments);
    return false;
}

bool failOnFile(ZlibcFailure* failure, const char* action, const char* path, const char* reason) {
    return fail(failure, "cannot %s '%s': %s", action, path, reason);
}
