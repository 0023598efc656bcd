// What Windows makes of one file name, whatever system extracts: names that differ in letter
// case or in trailing dots and blanks name one file there, and some names are devices.
#pragma once

#include <string>
#include <string_view>

// The same key for every spelling that Windows takes for one file: trailing dots and blanks
// dropped, letters in lower case (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic; other
// bytes are kept as they are). Empty when nothing is left, which names no file there.
std::string sameFileKey(std::string_view name);

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 (also with superscript digits), CONIN$ and CONOUT$ in any
// letter case, with any extension and trailing blanks: Windows opens the device, not a file.
bool isWindowsDeviceName(std::string_view name);
