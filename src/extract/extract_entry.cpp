#include "extract/extract_entry.h"

#include "common/failure.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "common/zlib_wrapping.h"
#include "shell/form.h"

EntryPlace splitEntryPath(std::string_view entryPath) {
    std::size_t last = entryPath.rfind('\\');
    if (last == std::string_view::npos) return {"", std::string(entryPath)};
    return {std::string(entryPath.substr(0, last)), std::string(entryPath.substr(last + 1))};
}

std::string wrappedFileName(std::string_view archiveName, std::string_view entryPath) {
    std::string path(archiveName);
    path += '\\';
    path += entryPath;
    return flattenPath(path) + ".gz";
}

bool entryDataInside(const EntrySlot& slot, std::uint64_t archiveSize) {
    return storedBytesInside(slot.entryDataOffset, slot.entryStoredSize, archiveSize);
}

std::string readEntryData(RangeReader& archive, const EntrySlot& slot) {
    if (slot.entryStoredSize == 0) return {};
    if (slot.entryDataOffset < 0 || slot.entryStoredSize < 0)
        throw Failure("The entry " + quotedName(slot.entryPath) + " has a negative data offset or size (offset 0x" +
                      hex8(slot.entryDataOffset) + ", " + std::to_string(slot.entryStoredSize) + " bytes).");
    try {
        return archive.read(static_cast<std::uint64_t>(slot.entryDataOffset),
                            static_cast<std::uint64_t>(slot.entryStoredSize));
    } catch (const Failure& failure) {
        throw Failure("Cannot read the data of the entry " + quotedName(slot.entryPath) + ": " + failure.what());
    }
}

void WriteZlibWrapped(const fs::path& path, std::string_view entryData) {
    // Temp holds only this run's files; a link planted there is replaced, not followed.
    WorkFile file(path);
    file.write(kZlibHeader);
    file.write(entryData);
    file.write(kZlibTrailer);
    file.close();
}
