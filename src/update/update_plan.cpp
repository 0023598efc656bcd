#include "update/update_plan.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "common/failure.h"
#include "common/file_stamp.h"
#include "common/files.h"
#include "common/paths.h"
#include "extract/edited_files.h"
#include "format/entry_pattern.h"
#include "inspect/lookup_key.h"
#include "pack/folder_listing.h"

namespace fs = std::filesystem;

namespace {

bool removedByAny(const std::vector<std::string>& patterns, const std::string& entryPath) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return entryPathMatches(pattern, entryPath); });
}

// The folder's files by their entry path's lookup key, in walk order; links to folders are
// noted, our own unfinished work files left out.
std::map<std::string, std::pair<std::string, fs::path>> folderFiles(const fs::path& folder, UpdatePlan& plan,
                                                                    const std::function<void()>& pause) {
    std::map<std::string, std::pair<std::string, fs::path>> files;
    for (const WalkStep& step : walkPackFolder(folder, pause)) {
        if (step.kind == WalkStep::Unlistable) throw Failure(step.reason);
        if (step.kind == WalkStep::LinkNotFollowed)
            plan.notes.push_back("Symbolic link not followed: " + archivePathOf(folder, step.path));
        if (step.kind != WalkStep::File) continue;
        std::optional<std::string> entryPath = entryPathOf(folder, step.path);
        if (!entryPath)
            throw Failure("'" + archivePathOf(folder, step.path) +
                          "': a name on its path holds \"\\\" or \":\", which no archive entry can hold.");
        auto [at, fresh] = files.emplace(lookupKey(*entryPath), std::pair{*entryPath, step.path});
        if (!fresh)
            throw Failure("'" + at->second.first + "' and '" + *entryPath +
                          "' in the folder are one entry path in the archive, which ignores letter case.");
    }
    return files;
}

// Whether the file holds the entry's content: known from the cache, or compared in full.
bool holdsItsEntry(const UpdateRequest& request, const UpdatePlan& plan, std::size_t entry, const fs::path& file,
                   UpdateCache* cache) {
    const EntrySlot& slot = plan.tables.entries[entry];
    const std::optional<FileStamp> stamp = fileStamp(file);  // before the file is read
    if (stamp && cache && cache->knownSame(entry, slot.entryPath, *stamp)) {
        cache->remember(entry, slot.entryPath, *stamp);
        return true;
    }
    const bool same = compareFileWithEntry(request.archive, slot, file, plan.layout.fileSize) == FileComparison::Same;
    if (same && stamp && cache) cache->remember(entry, slot.entryPath, *stamp);
    return same;
}

}  // namespace

bool UpdatePlan::changesNothing() const {
    return removedPaths.empty() && std::all_of(items.begin(), items.end(),
                                               [](const UpdateItem& item) { return item.kind == UpdateItem::Kept; });
}

UpdatePlan planUpdate(const UpdateRequest& request, const std::function<void()>& pause, UpdateCache* cache) {
    UpdatePlan plan;
    plan.layout = readArchiveLayout(request.archive);
    plan.tables = readArchiveTables(request.archive, plan.layout, {}, true);
    const std::vector<EntrySlot>& entries = plan.tables.entries;

    for (const std::string& pattern : request.removePatterns)
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const EntrySlot& slot) { return entryPathMatches(pattern, slot.entryPath); }))
            throw Failure("No entry matches " + pattern);

    std::error_code ec;
    if (!fs::is_directory(request.folder, ec)) throw Failure("No such folder: '" + pathText(request.folder) + "'.");
    auto files = folderFiles(request.folder, plan, pause);

    // The first entry of a path takes the folder's file; an entry removed takes it too, so that
    // it is not added again.
    std::unordered_map<std::string, std::size_t> firstEntryOf;
    for (std::size_t i = 0; i < entries.size(); ++i) firstEntryOf.emplace(lookupKey(entries[i].entryPath), i);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntrySlot& slot = entries[i];
        const std::string key = lookupKey(slot.entryPath);
        auto file = firstEntryOf.at(key) == i ? files.find(key) : files.end();
        const bool removed = removedByAny(request.removePatterns, slot.entryPath);
        if (removed) plan.removedPaths.push_back(slot.entryPath);
        if (file == files.end()) {
            if (!removed) plan.items.push_back({UpdateItem::Kept, i, slot.entryPath, {}});
            continue;
        }
        const fs::path path = file->second.second;
        files.erase(file);
        if (removed) continue;
        const bool same = holdsItsEntry(request, plan, i, path, cache);
        plan.items.push_back(
            {same ? UpdateItem::Kept : UpdateItem::Replaced, i, slot.entryPath, same ? fs::path() : path});
        if (pause) pause();
    }

    std::vector<UpdateItem> added;
    for (auto& [key, file] : files) added.push_back({UpdateItem::Added, 0, file.first, file.second});
    std::sort(added.begin(), added.end(),
              [](const UpdateItem& a, const UpdateItem& b) { return a.entryPath < b.entryPath; });
    plan.items.insert(plan.items.end(), added.begin(), added.end());
    return plan;
}
