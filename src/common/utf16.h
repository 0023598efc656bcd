// Windows only: our UTF-8 strings to and from the UTF-16 that Windows speaks at every boundary
// (process creation, program arguments). The narrow ("ANSI") forms of those calls go through
// the system's code page and lose every character outside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Nothing when `utf8` is not valid UTF-8.
std::optional<std::wstring> utf16FromUtf8(std::string_view utf8);
// Unpaired surrogates (possible in Windows names) become U+FFFD.
std::string utf8FromUtf16(std::wstring_view utf16);
// wmain's arguments as UTF-8 strings, the program's own name first.
std::vector<std::string> utf8Arguments(int argc, wchar_t** argv);
