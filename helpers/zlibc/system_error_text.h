// The words for a system error number.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// glibc's wording for the errors that file operations give, whichever C library zlibc is
// linked with (musl words several of them differently), so that its messages read the same
// in every build; other numbers as the C library words them.
const char* systemErrorText(int error);

#ifdef __cplusplus
}
#endif
