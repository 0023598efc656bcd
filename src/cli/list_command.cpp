#include "cli/list_command.h"

#include <cstdio>
#include <exception>
#include <string>

#include "cli/console_window.h"
#include "cli/exit_codes.h"
#include "cli/platform.h"
#include "cli/terminal_text.h"
#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"
#include "inspect/verify_archive.h"

int listArchive(const std::filesystem::path& archive, bool pathsOnly, bool nulEnded) {
    // Made whole before anything is printed: an archive that does not open lists nothing, as
    // the window's list stays empty. With -0 the bytes go out as they are, for scripts.
    const bool escaped = !nulEnded && isTerminal(stdout);
    std::string text;
    try {
        ArchiveLayout layout = readArchiveLayout(archive);
        for (const EntrySlot& slot : readArchiveTables(archive, layout).entries) {
            std::string line = listLine(slot);  // fails where the window's list would
            const std::string& shown = pathsOnly ? slot.entryPath : line;
            if (escaped)
                appendTerminalText(text, shown);
            else
                text += shown;
            text += nulEnded ? '\0' : '\n';
        }
    } catch (const std::exception& e) {
        printError(errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return kExitFailed;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitDone;
}

int verifyArchiveCommand(const std::filesystem::path& archive) {
    VerifyReport report;
    try {
        report = verifyArchive(archive);
    } catch (const std::exception& e) {
        printError(errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return kExitFailed;
    }
    const bool escaped = isTerminal(stdout);
    std::string text;
    report.problems.push_back(verifySummary(report));
    for (const std::string& line : report.problems) {
        if (escaped)
            appendTerminalText(text, line);
        else
            text += line;
        text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return report.problems.size() == 1 ? kExitDone : kExitEntriesLeftOut;
}
