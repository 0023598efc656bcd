// vantrel-ripper-cli: the window's commands from a command line, for scripted mod builds.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"
#include "cli/console_window.h"
#include "cli/exit_codes.h"
#include "cli/platform.h"
#include "cli/usage_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "common/utf16.h"
#endif

// `argv` as UTF-8, the program's own name first.
static int run(const std::vector<std::string>& argv) {
    const std::vector<std::string> arguments(argv.begin() + 1, argv.end());
    if (arguments.empty()) {
        std::fputs(usageText().c_str(), stderr);
        return kExitBadUsage;
    }
    const ParsedArguments parsed = parseArguments(arguments);
    if (parsed.request.help) return std::fputs(helpText().c_str(), stdout), kExitDone;
    if (parsed.request.version) return std::fputs(versionText().c_str(), stdout), kExitDone;
    if (!parsed.usageError.empty()) {
        printError(parsed.usageError);
        std::fputs(usageText().c_str(), stderr);
        return kExitBadUsage;
    }
    return runCliCommand(parsed.request, runningProgramFolder(argv[0].c_str()));
}

#ifdef _WIN32
// The arguments as UTF-16, whatever the system's code page; standard output and error in
// binary mode, so that the log's lines end in LF as in every build.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return run(utf8Arguments(argc, argv));
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv, argv + argc)); }
#endif
