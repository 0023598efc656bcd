#include "format/saved_archive_check.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/every_core.h"
#include "common/failure.h"
#include "format/archive_tables.h"
#include "format/whole_inflate.h"

namespace {

// What is wrong with the entry's data, or nothing.
std::string problemOf(RangeReader& archive, const EntrySlot& slot, const std::vector<std::int64_t>& laterCopies,
                      std::uint64_t fileSize, const EntryCheck& check) {
    if (slot.entryCopies <= 0) return {};  // it stores no data
    const std::int64_t size = slot.entryStoredSize;
    if (!storedBytesInside(slot.entryDataOffset, size, fileSize)) return "its data lies outside the file";
    for (std::int64_t copy : laterCopies)
        if (!storedBytesInside(copy, size, fileSize)) return "a copy of its data lies outside the file";
    if (int(laterCopies.size()) + 1 < slot.entryCopies) return "its copy offsets lie outside the tables";
    if (check.way == EntryCheck::Place || slot.entryCompressed != 1 || size == 0) return {};
    if (check.way == EntryCheck::Crc &&
        crc32Of(archive.read(std::uint64_t(slot.entryDataOffset), std::uint64_t(size))) == check.crc)
        return {};
    const InflateResult inflated =
        inflatedSizeOf(archive, std::uint64_t(slot.entryDataOffset), std::uint64_t(size), slot.entryOriginalSize);
    if (inflated.end != InflateEnd::Complete) return "its compressed data does not inflate";
    if (inflated.inflatedSize != std::uint64_t(std::max(slot.entryOriginalSize, 0)))
        return "it inflates to " + std::to_string(inflated.inflatedSize) + " bytes, not " +
               std::to_string(slot.entryOriginalSize);
    return {};
}

}  // namespace

void checkSavedArchive(const std::filesystem::path& archive, const std::function<EntryCheck(std::size_t)>& how) {
    const std::string failed = "The new archive failed its check before replacing anything: ";
    ArchiveTables tables;
    ArchiveLayout layout;
    try {
        layout = readArchiveLayout(archive);
        tables = readArchiveTables(archive, layout, {}, true);
    } catch (const std::exception& e) {
        throw Failure(failed + e.what());
    }
    const std::size_t count = tables.entries.size();
    std::vector<std::string> problems(count);
    std::vector<std::optional<RangeReader>> readers(everyCoreThreads());  // one for each thread
    onEveryCore(count, [&](std::size_t i, std::size_t thread) {
        RangeReader& reader = readers[thread] ? *readers[thread] : readers[thread].emplace(archive);
        try {
            problems[i] = problemOf(reader, tables.entries[i], tables.laterCopies[i], layout.fileSize,
                                    how ? how(i) : EntryCheck{});
        } catch (const std::exception& e) {
            problems[i] = e.what();
        }
    });
    for (std::size_t i = 0; i < count; ++i)
        if (!problems[i].empty())
            throw Failure(failed + "entry " + std::to_string(i + 1) + ", " + tables.entries[i].entryPath + ": " +
                          problems[i] + ".");
}
