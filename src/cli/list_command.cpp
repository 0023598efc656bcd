#include "cli/list_command.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/console_window.h"
#include "cli/exit_codes.h"
#include "cli/platform.h"
#include "cli/terminal_text.h"
#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"
#include "inspect/archive_diff.h"
#include "inspect/verify_archive.h"

namespace {

// A name or line as it goes to standard output: escaped when that is a terminal.
void appendShown(std::string& text, std::string_view shown, bool escaped) {
    if (escaped)
        appendTerminalText(text, shown);
    else
        text += shown;
}

}  // namespace

int listArchive(const std::filesystem::path& archive, bool pathsOnly, bool nulEnded) {
    // Made whole before anything is printed: an archive that does not open lists nothing, as
    // the window's list stays empty. With -0 the bytes go out as they are, for scripts.
    const bool escaped = !nulEnded && isTerminal(stdout);
    std::string text;
    try {
        ArchiveLayout layout = readArchiveLayout(archive);
        for (const EntrySlot& slot : readArchiveTables(archive, layout).entries) {
            std::string line = listLine(slot);  // fails where the window's list would
            appendShown(text, pathsOnly ? slot.entryPath : line, escaped);
            text += nulEnded ? '\0' : '\n';
        }
    } catch (const std::exception& e) {
        printError(errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return kExitFailed;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitDone;
}

namespace {

// Lines on standard output, each ending in LF, escaped on a terminal.
void printLines(const std::vector<std::string>& lines) {
    const bool escaped = isTerminal(stdout);
    std::string text;
    for (const std::string& line : lines) {
        appendShown(text, line, escaped);
        text += '\n';
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Runs `read` for the archive `archive`; false, with the open's error printed, when it fails.
template <typename Read>
bool opened(const std::filesystem::path& archive, Read read) {
    try {
        read();
        return true;
    } catch (const std::exception& e) {
        printError(errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return false;
    }
}

}  // namespace

int verifyArchiveCommand(const std::filesystem::path& archive) {
    VerifyReport report;
    if (!opened(archive, [&] { report = verifyArchive(archive); })) return kExitFailed;
    const bool clean = report.problems.empty();
    report.problems.push_back(verifySummary(report));
    printLines(report.problems);
    return clean ? kExitDone : kExitEntriesLeftOut;
}

int diffArchivesCommand(const std::filesystem::path& a, const std::filesystem::path& b, bool pathsOnly) {
    // Each archive opened alone first, so that the error names the one that fails.
    if (!opened(a, [&] { readArchiveTables(a, readArchiveLayout(a)); }) ||
        !opened(b, [&] { readArchiveTables(b, readArchiveLayout(b)); }))
        return kExitFailed;
    std::vector<ArchiveDifference> differences;
    if (!opened(a, [&] { differences = diffArchives(a, b); })) return kExitFailed;
    std::vector<std::string> lines;
    for (const ArchiveDifference& d : differences) lines.push_back(pathsOnly ? d.path : d.line);
    printLines(lines);
    return differences.empty() ? kExitDone : kExitEntriesLeftOut;
}
