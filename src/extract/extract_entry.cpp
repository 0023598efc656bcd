#include "extract/extract_entry.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include "common/failure.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
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

std::string readEntryData(const fs::path& archivePath, const EntrySlot& slot) {
    if (slot.entryDataOffset < 0 || slot.entryStoredSize < 0)
        throw Failure("The entry " + slot.entryPath + " has a negative data offset or size (offset 0x" +
                      hex8(slot.entryDataOffset) + ", " + std::to_string(slot.entryStoredSize) + " bytes).");
    try {
        return readFileRange(archivePath, static_cast<std::uint64_t>(slot.entryDataOffset),
                             static_cast<std::uint64_t>(slot.entryStoredSize));
    } catch (const Failure& failure) {
        throw Failure("Cannot read the data of the entry " + slot.entryPath + ": " + failure.what());
    }
}

void WriteZlibWrapped(const Form& form, const fs::path& path, std::string_view entryData) {
    std::string wrapped;
    wrapped.reserve(form.zlibHeader.size() + entryData.size() + form.zlibTrailer.size());
    wrapped += form.zlibHeader;
    wrapped += entryData;
    wrapped += form.zlibTrailer;
    writeWholeFile(path, wrapped);
}

std::size_t longestFileName(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;
    return 255;
#else
    long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
#endif
}
