// The two command lines of the zlibc helper: -d inflates a zlib-wrapped file, -k writes a
// complete zlib stream. The program path is quoted (quoteProgramPath) and so are the two file
// paths, escaped as quoteArgument escapes them, so that every name reaches zlibc unchanged.
#pragma once

#include <filesystem>
#include <string>

struct Form;

std::string zlibcInflateCommand(const Form& form, const std::filesystem::path& in, const std::filesystem::path& out);
std::string zlibcDeflateCommand(const Form& form, const std::filesystem::path& in, const std::filesystem::path& out);
