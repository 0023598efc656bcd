#include "cli/list_command.h"

#include <cstdio>
#include <exception>
#include <string>

#include "cli/console_window.h"
#include "cli/exit_codes.h"
#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"

int listArchive(const std::filesystem::path& archive, bool pathsOnly) {
    // Made whole before anything is printed: an archive that does not open lists nothing, as
    // the window's list stays empty.
    std::string text;
    try {
        ArchiveLayout layout = readArchiveLayout(archive);
        for (const EntrySlot& slot : readArchiveTables(archive, layout).entries) {
            std::string line = listLine(slot);  // fails where the window's list would
            text += pathsOnly ? slot.entryPath : line;
            text += '\n';
        }
    } catch (const std::exception& e) {
        printError(errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return kExitFailed;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitDone;
}
