// One entry's way out of the open archive: its data, its place below the extraction folder,
// and the zlib-wrapped file that parks a compressed entry in Temp until the unzip pass.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/files.h"

struct Form;
struct EntrySlot;

// The entry path's folder part F (before the last "\", empty when there is none) and its
// file name N (after the last "\", the whole path when there is none).
struct EntryPlace {
    std::string folder;
    std::string name;
};
EntryPlace splitEntryPath(std::string_view entryPath);

// The Temp name of a compressed entry: archive name and entry path flattened as one path,
// then ".gz" ("x.mpak+a+b.dds.gz"). Unflattening it without ".gz" gives the destination
// relative to the ExtractedFiles folder.
std::string wrappedFileName(std::string_view archiveName, std::string_view entryPath);

// Whether the entry's stored bytes lie inside an archive file of `archiveSize` bytes. An entry
// of no bytes always does, wherever its offset points.
bool entryDataInside(const EntrySlot& slot, std::uint64_t archiveSize);

// The entry's stored bytes, read from the archive file with one bounds-checked read (none for
// an entry of no bytes); a range that does not lie inside the file is a Failure that names
// the entry.
std::string readEntryData(RangeReader& archive, const EntrySlot& slot);

// Writes the entry's data zlib-wrapped (zlib_wrapping.h) as one whole file, replacing any
// earlier file of that name.
void WriteZlibWrapped(const std::filesystem::path& path, std::string_view entryData);
