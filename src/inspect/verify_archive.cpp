#include "inspect/verify_archive.h"

#include <unordered_set>

#include "common/paths.h"
#include "common/text.h"
#include "extract/entry_collisions.h"
#include "extract/extract_entry.h"
#include "format/archive_tables.h"
#include "format/entry_stream.h"
#include "format/whole_inflate.h"
#include "inspect/lookup_key.h"

namespace {

// Whether the `size` bytes at `copy` equal those at `first`, both inside the file.
bool sameBytes(RangeReader& archive, RangeReader& other, std::uint64_t first, std::int64_t copy, std::uint64_t size) {
    bool same = true;
    std::uint64_t done = 0;
    readStoredPieces(archive, first, size, [&](std::string_view piece) {
        same = other.read(std::uint64_t(copy) + done, piece.size()) == piece;
        done += piece.size();
        return same;
    });
    return same;
}

class Verifier {
public:
    Verifier(const std::filesystem::path& archive, VerifyReport& report)
        : archive_(archive), copies_(archive), report_(report) {}

    void checkData(const EntrySlot& slot, const std::vector<std::int64_t>& laterCopies, std::uint64_t fileSize) {
        const std::string& path = slot.entryPath;
        if (!entryDataInside(slot, fileSize)) return problem("Data past the end of the archive: " + path);
        const auto offset = std::uint64_t(slot.entryDataOffset), size = std::uint64_t(slot.entryStoredSize);
        if (slot.entryCompressed == 1 && size > 0) {
            InflateResult inflated = inflatedSizeOf(archive_, offset, size, slot.entryOriginalSize);
            if (inflated.end != InflateEnd::Complete)
                problem("Does not inflate: " + path);
            else if (inflated.inflatedSize != std::uint64_t(std::max(slot.entryOriginalSize, 0)))
                problem("Inflates to " + std::to_string(inflated.inflatedSize) + " bytes, not the TOC's " +
                        std::to_string(slot.entryOriginalSize) + ": " + path);
        }
        for (std::size_t k = 0; k + 1 < std::size_t(std::max<std::int16_t>(slot.entryCopies, 1)); ++k) {
            const std::string copy = "Copy " + std::to_string(k + 2);
            if (k >= laterCopies.size())
                problem(copy + "'s offset lies past the tables: " + path);
            else if (!storedBytesInside(laterCopies[k], std::int64_t(size), fileSize))
                problem(copy + " lies past the end of the archive: " + path);
            else if (!sameBytes(archive_, copies_, offset, laterCopies[k], size))
                problem(copy + " differs from the first: " + path);
        }
    }

    void problem(std::string line) { report_.problems.push_back(std::move(line)); }

private:
    RangeReader archive_, copies_;
    VerifyReport& report_;
};

}  // namespace

VerifyReport verifyArchive(const std::filesystem::path& archive) {
    const ArchiveLayout layout = readArchiveLayout(archive);
    const ArchiveTables tables = readArchiveTables(archive, layout, {}, true);
    VerifyReport report;
    report.entries = tables.entries.size();
    Verifier verifier(archive, report);
    const EntryCollisions collisions(tables.entries,
                                     [&](const EntrySlot& slot) { return entryDataInside(slot, layout.fileSize); });
    std::unordered_set<std::string> paths;
    for (std::size_t i = 0; i < tables.entries.size(); ++i) {
        const EntrySlot& slot = tables.entries[i];
        paths.insert(lookupKey(slot.entryPath));
        if (!archivePathSegments(slot.entryPath)) verifier.problem("Extraction refuses this path: " + slot.entryPath);
        if (std::optional<std::string> why = collisions.reason(i)) verifier.problem("Extraction refuses: " + *why);
        verifier.checkData(slot, tables.laterCopies[i], layout.fileSize);
    }
    // A group's first name is its file's path; the others are names the game also knows the
    // file by, usually its bare name, which no entry has.
    for (std::size_t g = 0; g < tables.stocGroups.size(); ++g) {
        const std::vector<std::string>& names = tables.stocGroups[g].names;
        if (!names.empty() && paths.count(lookupKey(names[0])) == 0)
            verifier.problem("STOC group " + std::to_string(g + 1) + " names no entry: " + names[0]);
    }
    if (tables.stocGroupsCompleted < layout.header.stocEntryCount)
        verifier.problem("The STOC holds " + std::to_string(tables.stocGroupsCompleted) + " of the header's " +
                         std::to_string(layout.header.stocEntryCount) + " groups whole");
    return report;
}

std::string verifySummary(const VerifyReport& report) {
    const std::string checked = "Checked " + std::to_string(report.entries) + " entries: ";
    if (report.problems.empty()) return checked + "no problems.";
    return checked + std::to_string(report.problems.size()) +
           (report.problems.size() == 1 ? " problem." : " problems.");
}
