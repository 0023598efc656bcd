#include "update/update_writer.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>

#include "common/bytes.h"
#include "common/failure.h"
#include "common/files.h"
#include "common/text.h"
#include "common/zlib_wrapping.h"
#include "format/mpak_records.h"
#include "format/saved_archive_check.h"
#include "inspect/lookup_key.h"

namespace fs = std::filesystem;

namespace {

// Where one copy's stored bytes come from.
struct Piece {
    const fs::path* file;
    std::uint64_t offset, size;
};

// One entry of the new archive: its TOC record up to the copy offsets, and its copies.
struct Record {
    std::string head;
    std::vector<Piece> copies;
};

std::string quoted(const std::string& entryPath) { return "'" + entryPath + "'"; }

Record keptRecord(const UpdatePlan& plan, const UpdateItem& item, const fs::path& archive) {
    const EntrySlot& slot = plan.tables.entries[item.entry];
    if (slot.entryCopies < 0)
        throw Failure(quoted(item.entryPath) + " says it has " + std::to_string(slot.entryCopies) +
                      " copies; no archive can carry it over.");
    Record record{plan.tables.tocHeads[item.entry], {}};
    const auto size = std::uint64_t(std::max(slot.entryStoredSize, 0));
    const std::vector<std::int64_t>& later = plan.tables.laterCopies[item.entry];
    for (int k = 0; k < slot.entryCopies; ++k) {
        const std::int64_t offset = k == 0 ? slot.entryDataOffset : k - 1 < int(later.size()) ? later[k - 1] : -1;
        if (!storedBytesInside(offset, std::int64_t(size), plan.layout.fileSize))
            throw Failure("Copy " + std::to_string(k + 1) + " of " + quoted(item.entryPath) +
                          " lies outside the archive; it cannot be carried over.");
        record.copies.push_back({&archive, std::uint64_t(std::max<std::int64_t>(offset, 0)), size});
    }
    return record;
}

// A replaced entry keeps its stored name, compression and copies; an added one is compressed,
// with one copy, as the pack adds a file that its library .toc does not list.
Record stagedRecord(const UpdatePlan& plan, const UpdateItem& item, const StagedData& data) {
    std::uint64_t size = fileSizeOf(data.file), offset = 0;
    if (data.zlibWrapped) {
        if (size < kZlibWrapperBytes)
            throw Failure("zlibc's output for " + quoted(item.entryPath) + " is too short to be a zlib stream.");
        offset = kZlibHeaderBytes, size -= kZlibWrapperBytes;
    }
    if (size > std::uint64_t(INT32_MAX))
        throw Failure(quoted(item.entryPath) + " stores " + std::to_string(size) +
                      " bytes; an archive entry holds at most 2147483647 bytes.");
    std::string name = replaceAll(item.entryPath, '\\', '/');
    std::int16_t copies = 1;
    if (item.kind == UpdateItem::Replaced) {
        const std::string& head = plan.tables.tocHeads[item.entry];
        name = head.substr(12, std::uint8_t(head[11]));
        copies = std::max<std::int16_t>(plan.tables.entries[item.entry].entryCopies, 0);
    }
    Record record;
    appendTocEntryHead(record.head, name, std::int32_t(size), data.originalSize, data.zlibWrapped, copies);
    record.copies.assign(copies, Piece{&data.file, offset, size});
    return record;
}

// The archive's groups less the names of removed entries; a group left naming no entry goes.
std::vector<std::vector<std::string>> keptGroups(const UpdatePlan& plan) {
    std::set<std::string> removed, present;
    for (const std::string& path : plan.removedPaths) removed.insert(lookupKey(path));
    // Without removed names every group stays as it is: which names an entry is not asked.
    if (!removed.empty())
        for (const UpdateItem& item : plan.items) present.insert(lookupKey(item.entryPath));
    std::vector<std::vector<std::string>> groups;
    for (const StocGroup& group : plan.tables.stocGroups) {
        std::vector<std::string> names;
        bool lostNames = false, namesAnEntry = false;
        for (const std::string& name : group.names) {
            const std::string key = lookupKey(name);
            if (removed.count(key) && !present.count(key)) {
                lostNames = true;
                continue;
            }
            namesAnEntry = namesAnEntry || present.count(key);
            names.push_back(name);
        }
        if (!names.empty() && (!lostNames || namesAnEntry)) groups.push_back(std::move(names));
    }
    return groups;
}

// The copies' stored bytes in the order they are written, those that follow one another in one
// file joined: the kept entries of an archive mostly lie back to back and go in a few large
// reads and writes rather than one each.
std::vector<Piece> runsOf(const std::vector<Record>& records) {
    std::vector<Piece> runs;
    for (const Record& record : records)
        for (const Piece& copy : record.copies) {
            if (copy.size == 0) continue;
            Piece* last = runs.empty() ? nullptr : &runs.back();
            if (last && last->file == copy.file && last->offset + last->size == copy.offset)
                last->size += copy.size;
            else
                runs.push_back(copy);
        }
    return runs;
}

void copyRuns(const std::vector<Piece>& runs, const fs::path& archive, WorkFile& out,
              const std::function<void()>& pause) {
    RangeReader archiveReader(archive);  // closed before the rename, which may replace it
    std::optional<RangeReader> stagedReader;
    for (const Piece& run : runs) {
        if (run.file != &archive && (!stagedReader || stagedReader->path() != *run.file))
            stagedReader.emplace(*run.file);
        RangeReader& from = run.file == &archive ? archiveReader : *stagedReader;
        constexpr std::uint64_t kStep = 8 << 20;  // the window runs between steps
        for (std::uint64_t done = 0; done < run.size; done += kStep) {
            out.append(from, run.offset + done, std::min(kStep, run.size - done));
            if (pause) pause();
        }
    }
}

}  // namespace

UpdateCounts writeUpdatedArchive(const UpdatePlan& plan, const fs::path& archive, const std::vector<StagedData>& staged,
                                 bool autoAddNewFiles, const fs::path& output, const std::function<void()>& pause) {
    if (plan.items.size() > std::size_t(kMaxArchiveEntries))
        throw Failure("The updated archive would hold " + std::to_string(plan.items.size()) +
                      " entries; an archive holds at most " + std::to_string(kMaxArchiveEntries) + ".");
    std::vector<Record> records;
    std::vector<std::vector<std::string>> groups = keptGroups(plan);
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const UpdateItem& item = plan.items[i];
        records.push_back(item.kind == UpdateItem::Kept ? keptRecord(plan, item, archive)
                                                        : stagedRecord(plan, item, staged.at(i)));
        if (item.kind == UpdateItem::Added && autoAddNewFiles) {
            const std::string name = replaceAll(item.entryPath, '\\', '/');
            groups.push_back({name, std::string(afterLast(name, '/'))});
        }
    }

    // Copy offsets count from the RAWD tag.
    std::string toc, stoc;
    long long rawdEnd = 4;
    for (const Record& record : records) {
        toc += record.head;
        for (const Piece& copy : record.copies) {
            if (rawdEnd + static_cast<long long>(copy.size) > INT32_MAX)
                throw Failure(
                    "The updated archive's data would pass 2147483647 bytes, more than an archive can address.");
            appendI32(toc, static_cast<std::int32_t>(rawdEnd));
            rawdEnd += static_cast<long long>(copy.size);
        }
    }
    for (const std::vector<std::string>& group : groups) appendStocGroup(stoc, group, "A STOC group of " + group[0]);
    if (16 + 4 + static_cast<long long>(toc.size() + stoc.size()) + 4 + rawdEnd > INT32_MAX)
        throw Failure("The updated archive would be larger than 2147483647 bytes, more than an archive holds.");

    UpdateCounts counts{static_cast<int>(records.size()), static_cast<int>(groups.size())};
    ReplacingFile out(output);
    out.write(mpakHeader(static_cast<std::int32_t>(toc.size() + 4), static_cast<std::int32_t>(stoc.size() + 4),
                         toInt16(counts.entries, "the number of entries"),
                         toInt16(counts.stocGroups, "the number of STOC groups")));
    out.write(std::string_view("TOC\0", 4));
    out.write(toc);
    out.write("STOC");
    out.write(stoc);
    out.write("RAWD");
    copyRuns(runsOf(records), archive, out, pause);
    // Read back from the disk before it replaces anything, the entries written anew inflated; a
    // power cut leaves the earlier archive or the whole new one.
    out.syncToDisk();
    out.close();
    checkSavedArchive(out.path(), [&plan](std::size_t i) {
        return plan.items[i].kind == UpdateItem::Kept ? EntryCheck{EntryCheck::Place} : EntryCheck{};
    });
    out.commit(Durability::Synced);
    return counts;
}
