// The entry point of each of our programs, in one place: the program defines utf8Main, and
// utf8_main_<platform>.cpp (added by vr_utf8_main in CMake) defines main (wmain on Windows)
// to call it with the arguments as UTF-8. On Windows they come as UTF-16, whatever the
// system's code page, and standard output and error are put in binary mode, so that lines end
// in LF and CR LF pairs go out unchanged, as in every build.
#pragma once

#include <string>
#include <vector>

int utf8Main(const std::vector<std::string>& argv);
