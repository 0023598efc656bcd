// System error words as glibc gives them.
#include "system_error_text.h"

#include <errno.h>
#include <string.h>

typedef struct {
    int error;
    const char* text;
} ErrorText;

// Only where another C library says it otherwise.
static const ErrorText kGlibcWords[] = {
    {EIO, "Input/output error"},
    {ENOMEM, "Cannot allocate memory"},
    {EBUSY, "Device or resource busy"},
    {EXDEV, "Invalid cross-device link"},
    {EMFILE, "Too many open files"},
    {ENAMETOOLONG, "File name too long"},
    {ELOOP, "Too many levels of symbolic links"},
    {EOVERFLOW, "Value too large for defined data type"},
    {EILSEQ, "Invalid or incomplete multibyte or wide character"},
    {ENOTSUP, "Operation not supported"},
    {ETIMEDOUT, "Connection timed out"},
#ifdef EUCLEAN
    {EUCLEAN, "Structure needs cleaning"},
#endif
#ifdef EDQUOT
    {EDQUOT, "Disk quota exceeded"},
#endif
};

const char* systemErrorText(int error) {
    for (size_t i = 0; i < sizeof kGlibcWords / sizeof kGlibcWords[0]; ++i)
        if (kGlibcWords[i].error == error) return kGlibcWords[i].text;
    return strerror(error);
}
