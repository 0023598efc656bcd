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
#include "common/utf8_main.h"

// `argv` as UTF-8, the program's own name first.
int utf8Main(const std::vector<std::string>& argv) {
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
    keepFreedMemory();
    return runCliCommand(parsed.request, runningProgramFolder(argv[0].c_str()));
}
