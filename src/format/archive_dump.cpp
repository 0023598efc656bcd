// The sectioned text of an archive's log, list and library texts.
#include "format/archive_dump.h"

#include <exception>
#include <string_view>

#include "common/failure.h"
#include "common/text.h"
#include "format/archive_tables.h"
#include "format/archive_texts.h"

namespace {

void section(std::string& out, const char* name, std::string_view text) {
    out += "== ";
    out += name;
    out += '\n';
    if (!text.empty()) {
        out += text;
        out += '\n';
    }
}

std::string sections(const std::filesystem::path& archive) {
    ArchiveLayout layout = readArchiveLayout(archive);
    std::string log;
    for (const std::string& line : chunkLogLines(layout)) log += line;
    ArchiveTables tables = readArchiveTables(archive, layout);
    if (std::string shortfall = stocShortfallLine(layout, tables); !shortfall.empty()) log += shortfall + "\r\n";
    std::string list;
    for (const EntrySlot& slot : tables.entries) list += listLine(slot) + '\n';

    std::string out;
    section(out, "log", log);
    out += "== list\n" + list;
    section(out, "toc", trimTrailingCrLf(tocLibraryText(tables.entries)));
    section(out, "stoc", trimTrailingCrLf(stocLibraryText(tables.stocGroups, layout.header.stocEntryCount)));
    return out;
}

}  // namespace

ArchiveDump dumpArchive(const std::filesystem::path& archive) {
    try {
        return {sections(archive), true};
    } catch (const std::exception& e) {
        std::string out;
        section(out, "error", errorBoxText("ProcessLibrary", openFailureDescription(archive, e.what())));
        return {out, false};
    }
}
