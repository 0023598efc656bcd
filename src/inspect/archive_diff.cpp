#include "inspect/archive_diff.h"

#include <unordered_map>

#include "common/text.h"
#include "extract/extract_entry.h"
#include "format/archive_tables.h"
#include "format/entry_stream.h"
#include "inspect/lookup_key.h"

namespace fs = std::filesystem;

namespace {

struct Side {
    fs::path file;
    ArchiveLayout layout;
    ArchiveTables tables;
    std::unordered_map<std::string, std::size_t> entryAt, groupAt;  // by key, the first of each

    explicit Side(const fs::path& archive)
        : file(archive), layout(readArchiveLayout(archive)), tables(readArchiveTables(archive, layout)) {
        for (std::size_t i = 0; i < tables.entries.size(); ++i)
            entryAt.try_emplace(lookupKey(tables.entries[i].entryPath), i);
        for (std::size_t g = 0; g < tables.stocGroups.size(); ++g)
            if (!tables.stocGroups[g].names.empty()) groupAt.try_emplace(lookupKey(tables.stocGroups[g].names[0]), g);
    }
};

// An entry of no bytes is an empty file, whatever its flag says.
bool compressed(const EntrySlot& slot) { return slot.entryCompressed == 1 && slot.entryStoredSize > 0; }

std::unique_ptr<EntryContent> contentOf(const Side& side, const EntrySlot& slot) {
    if (!entryDataInside(slot, side.layout.fileSize)) return nullptr;
    return std::make_unique<EntryContent>(side.file, std::uint64_t(std::max(slot.entryDataOffset, 0)),
                                          std::uint64_t(std::max(slot.entryStoredSize, 0)), compressed(slot));
}

// Both contents read side by side, a piece of each at a time; data outside a file or a stream
// that does not inflate differs.
bool sameContent(const Side& a, const EntrySlot& slotA, const Side& b, const EntrySlot& slotB) {
    std::unique_ptr<EntryContent> left = contentOf(a, slotA), right = contentOf(b, slotB);
    if (!left || !right) return false;
    std::string_view l, r;
    for (;;) {
        if (l.empty()) l = left->next();
        if (r.empty()) r = right->next();
        if (l.empty() || r.empty()) return l.empty() && r.empty() && !left->damaged() && !right->damaged();
        const std::size_t n = std::min(l.size(), r.size());
        if (l.substr(0, n) != r.substr(0, n)) return false;
        l.remove_prefix(n), r.remove_prefix(n);
    }
}

std::string changes(const Side& a, const EntrySlot& slotA, const Side& b, const EntrySlot& slotB) {
    std::vector<std::string> what;
    if (!sameContent(a, slotA, b, slotB)) what.push_back("content");
    if (compressed(slotA) != compressed(slotB))
        what.push_back(compressed(slotA) ? "compressed -> stored" : "stored -> compressed");
    if (slotA.entryCopies != slotB.entryCopies)
        what.push_back("copies " + std::to_string(slotA.entryCopies) + " -> " + std::to_string(slotB.entryCopies));
    std::string text;
    for (const std::string& part : what) text += (text.empty() ? "" : ", ") + part;
    return text;
}

bool sameNames(const StocGroup& x, const StocGroup& y) {
    if (x.names.size() != y.names.size()) return false;
    for (std::size_t k = 0; k < x.names.size(); ++k)
        if (lookupKey(x.names[k]) != lookupKey(y.names[k])) return false;
    return true;
}

void entriesOnlyIn(const Side& side, const Side& other, const std::string& label, std::vector<ArchiveDifference>& out,
                   bool compare) {
    for (const EntrySlot& slot : side.tables.entries) {
        auto found = other.entryAt.find(lookupKey(slot.entryPath));
        if (found == other.entryAt.end()) {
            out.push_back({slot.entryPath, "Only in " + label + ": " + slot.entryPath});
        } else if (compare) {
            std::string what = changes(side, slot, other, other.tables.entries[found->second]);
            if (!what.empty()) out.push_back({slot.entryPath, "Changed: " + slot.entryPath + " (" + what + ")"});
        }
    }
}

void groupsOnlyIn(const Side& side, const Side& other, const std::string& gone, std::vector<ArchiveDifference>& out,
                  bool compare) {
    for (const StocGroup& group : side.tables.stocGroups) {
        if (group.names.empty()) continue;
        const std::string& first = group.names[0];
        auto found = other.groupAt.find(lookupKey(first));
        if (found == other.groupAt.end())
            out.push_back(
                {first, "STOC group " + gone + ": " + first + " (" + std::to_string(group.names.size()) + " names)"});
        else if (compare && !sameNames(group, other.tables.stocGroups[found->second]))
            out.push_back({first, "STOC group changed: " + first});
    }
}

}  // namespace

std::vector<ArchiveDifference> diffArchives(const fs::path& a, const fs::path& b) {
    const Side left(a), right(b);
    std::vector<ArchiveDifference> out;
    entriesOnlyIn(left, right, "A", out, true);
    entriesOnlyIn(right, left, "B", out, false);
    groupsOnlyIn(left, right, "removed", out, true);
    groupsOnlyIn(right, left, "added", out, false);
    return out;
}
