// UTF-8 and UTF-16 through the Windows conversions.
#include "utf16_windows.h"

#include <stdlib.h>
#include <windows.h>

wchar_t* utf16FromUtf8(const char* utf8) {
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, NULL, 0);
    if (units <= 0) return NULL;
    wchar_t* utf16 = (wchar_t*)malloc((size_t)units * sizeof(wchar_t));
    if (utf16 && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, utf16, units) != units) {
        free(utf16);
        return NULL;
    }
    return utf16;
}

static char* utf8FromUtf16(const wchar_t* utf16) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16, -1, NULL, 0, NULL, NULL);
    if (bytes <= 0) return NULL;
    char* utf8 = (char*)malloc((size_t)bytes);
    if (utf8) WideCharToMultiByte(CP_UTF8, 0, utf16, -1, utf8, bytes, NULL, NULL);
    return utf8;
}

char** utf8FromUtf16Arguments(int count, wchar_t** arguments) {
    char** utf8 = (char**)calloc((size_t)count + 1, sizeof(char*));
    for (int i = 0; utf8 && i < count; ++i)
        if (!(utf8[i] = utf8FromUtf16(arguments[i]))) return NULL;  // the process ends at once
    return utf8;
}
