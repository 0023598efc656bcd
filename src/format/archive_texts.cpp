// Building the log, list and library texts of an opened archive.
#include "format/archive_texts.h"

#include <cstdint>

#include "common/failure.h"
#include "common/text.h"

std::vector<std::string> chunkLogLines(const ArchiveLayout& layout) {
    const MpakHeader& h = layout.header;
    // The positions are non-negative whenever the chunk sizes are; a damaged header shows
    // its positions as 32-bit two's complement, like every other hexadecimal field.
    auto hex = [](std::int32_t v) { return hexUpper(static_cast<std::uint32_t>(v)); };
    return {"TOC = x" + hex(layout.tocStart) + ", " + std::to_string(h.tocEntryCount) + " entries\r\n",
            "STOC = x" + hex(layout.stocStart) + ", " + std::to_string(h.stocEntryCount) + " entries\r\n",
            "RAWD = x" + hex(layout.rawdStart) + "\r\n\r\n"};
}

std::string stocShortfallLine(const ArchiveLayout& layout, const ArchiveTables& tables) {
    std::int16_t promised = layout.header.stocEntryCount;
    if (promised < 1 || tables.stocGroupsCompleted >= promised) return "";
    return "STOC holds only " + std::to_string(tables.stocGroupsCompleted) + " of " + std::to_string(promised) +
           " groups.";
}

std::string listLine(const EntrySlot& slot) {
    long long lastByte = static_cast<long long>(slot.entryDataOffset) + slot.entryStoredSize - 1;
    if (lastByte < INT32_MIN || lastByte > INT32_MAX)
        throw Failure("The data of " + quotedName(slot.entryPath) + " (offset " + hex8(slot.entryDataOffset) + ", " +
                      std::to_string(slot.entryStoredSize) +
                      " bytes) would end beyond the 2 GiB an archive can address: the archive is damaged.");
    if (slot.entryCompressed > 99)
        throw Failure("The entry " + quotedName(slot.entryPath) + " has a compression value of " +
                      std::to_string(slot.entryCompressed) +
                      ", more than the list's two digits can show (0 to 99): the archive is damaged.");
    std::string line;
    line.reserve(44 + slot.entryPath.size());
    line += hex8(slot.entryDataOffset);
    line += ' ';
    line += hex8(static_cast<std::int32_t>(lastByte));
    line += ' ';
    line += hex8(slot.entryStoredSize);
    line += ' ';
    line += hex8(slot.entryOriginalSize);
    line += ' ';
    line += static_cast<char>('0' + slot.entryCompressed / 10);
    line += static_cast<char>('0' + slot.entryCompressed % 10);
    line += ' ';
    line += std::to_string(slot.entryCopies);
    line += ' ';
    line += slot.entryPath;
    return line;
}

std::string tocLibraryIntro() {
    return "--Comment lines start with double (--) dashes\r\n"
           "--Field 1: 00=file is not compressed, 01=file is compressed.\r\n"
           "--Field 2: # of copies of file packed in raw data (RAWD) area. Probably also # of copies of file "
           "maintained in memory by the game.\r\n"
           "--Field 3: File path.\r\n"
           "--It is possible to add new file references to this table if you wish.\r\n"
           "--However, Vantrel Ripper will automatically add new files to the .MPAK. By default, they will be "
           "compressed (01), 1 copy.\r\n"
           "\r\n";
}

std::string tocLibraryLine(const EntrySlot& slot) {
    std::string line = decimalPadded(slot.entryCompressed, 2, "the compressed byte of the entry");
    line += ' ';
    line += std::to_string(slot.entryCopies);
    line += ' ';
    line += slot.entryPath;
    line += "\r\n";
    return line;
}

std::string tocLibraryText(const std::vector<EntrySlot>& entries) {
    std::string text = tocLibraryIntro();
    for (const EntrySlot& slot : entries) text += tocLibraryLine(slot);
    return text;
}

std::string stocLibraryText(const std::vector<StocGroup>& groups, std::int16_t stocEntryCount) {
    if (stocEntryCount < 1) return "";
    std::string text =
        "--Comment lines start with double (--) dashes.\r\n"
        "--[x] # of files in the next group.\r\n"
        "--At least 2 file entries are always present.\r\n"
        "--1st file entry is always file path.\r\n"
        "--2nd file entry is usually file name but can be file path.\r\n"
        "--3rd file entry (if present) is usually file path.\r\n"
        "--File entries probably indicate path pointers to a common file.\r\n"
        "--It is possible to add new file references to this table if you wish, and necessary if you add new "
        "files to the game.\r\n"
        "\r\n";
    for (const StocGroup& group : groups) {
        text += '[';
        text += std::to_string(group.size);
        text += "]\r\n";
        for (const std::string& name : group.names) {
            text += name;
            text += "\r\n";
        }
        // A group that never received all its names ends without the empty line.
        if (group.complete) text += "\r\n";
    }
    return text;
}
