// Builds the zlibc command lines. The program path is quoted so that no shorter prefix of it is
// run in its place; the file paths are quoted so that the runner gives them back unchanged,
// even when a name holds a quote or ends in a backslash.
#include "shell/compression_tool.h"

#include "common/files.h"
#include "shell/app_paths.h"
#include "shell/form.h"
#include "shell/tool_runner.h"

static std::string zlibcCommand(const Form& form, const char* zwitch, const std::filesystem::path& in,
                                const std::filesystem::path& out) {
    return quoteProgramPath(pathText(helperProgramPath(form, "zlibc"))) + " " + zwitch + " " +
           quoteArgument(pathText(in)) + " " + quoteArgument(pathText(out));
}

std::string zlibcInflateCommand(const Form& form, const std::filesystem::path& in, const std::filesystem::path& out) {
    return zlibcCommand(form, "-d", in, out);
}

std::string zlibcDeflateCommand(const Form& form, const std::filesystem::path& in, const std::filesystem::path& out) {
    return zlibcCommand(form, "-k", in, out);
}
