// Windows only: zlibc's UTF-8 names to and from the UTF-16 that Windows speaks. The program
// takes its arguments as UTF-16 (wmain), works on UTF-8 like every build, and opens files by
// their UTF-16 names, so no name goes through the system's narrow code page.
#pragma once

#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

// A malloc'd copy, or NULL when `utf8` is not valid UTF-8 or memory runs out.
wchar_t* utf16FromUtf8(const char* utf8);
// A malloc'd array of `count` malloc'd UTF-8 copies, or NULL when memory runs out. Unpaired
// surrogates (possible in Windows names) become U+FFFD.
char** utf8FromUtf16Arguments(int count, wchar_t** arguments);

#ifdef __cplusplus
}
#endif
