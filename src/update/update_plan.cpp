#include "update/update_plan.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "common/every_core.h"
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

// The folder's files by their entry path's lookup key; links to folders are
// noted, our own unfinished work files left out.
std::unordered_map<std::string, std::pair<std::string, fs::path>> folderFiles(const fs::path& folder, UpdatePlan& plan,
                                                                              const std::function<void()>& pause) {
    std::unordered_map<std::string, std::pair<std::string, fs::path>> files;
    std::vector<WalkStep> walk = walkPackFolder(folder, pause);
    files.reserve(walk.size());
    for (WalkStep& step : walk) {
        if (step.kind == WalkStep::Unlistable) throw Failure(step.reason);
        if (step.kind == WalkStep::LinkNotFollowed)
            plan.notes.push_back("Symbolic link not followed: " + archivePathOf(folder, step.path));
        if (step.kind != WalkStep::File) continue;
        std::optional<std::string> entryPath = entryPathOf(folder, step.path);
        if (!entryPath)
            throw Failure("'" + archivePathOf(folder, step.path) +
                          "': a name on its path holds \"\\\" or \":\", which no archive entry can hold.");
        // Nothing is moved when the key is taken already.
        auto [at, fresh] = files.try_emplace(lookupKey(*entryPath), std::move(*entryPath), std::move(step.path));
        if (!fresh)
            throw Failure("'" + at->second.first + "' and '" + *entryPath +
                          "' in the folder are one entry path in the archive, which ignores letter case.");
    }
    return files;
}

// What was found of a folder file at an entry's path: whether it holds the entry's content,
// known from the cache or compared in full, and its stamp taken before it was read.
struct Finding {
    bool same = false;
    std::optional<FileStamp> stamp;
};

Finding findingOf(const UpdateRequest& request, const UpdatePlan& plan, const UpdateItem& item,
                  const UpdateCache* cache) {
    const EntrySlot& slot = plan.tables.entries[item.entry];
    Finding found{false, fileStamp(item.file)};
    found.same = (found.stamp && cache && cache->knownSame(item.entry, slot.entryPath, *found.stamp)) ||
                 compareFileWithEntry(request.archive, slot, item.file, plan.layout.fileSize) == FileComparison::Same;
    return found;
}

// Each entry that has a file in the folder becomes Kept or Replaced; the files are looked at on
// every core, and the cache learns what was found.
void compareWithFiles(const UpdateRequest& request, UpdatePlan& plan, const std::vector<std::size_t>& atFiles,
                      const std::function<void()>& pause, UpdateCache* cache) {
    std::vector<Finding> found(atFiles.size());
    onEveryCore(
        atFiles.size(),
        [&](std::size_t k, std::size_t) { found[k] = findingOf(request, plan, plan.items[atFiles[k]], cache); }, pause);
    for (std::size_t k = 0; k < atFiles.size(); ++k) {
        UpdateItem& item = plan.items[atFiles[k]];
        if (found[k].same && found[k].stamp && cache) cache->remember(item.entry, item.entryPath, *found[k].stamp);
        if (found[k].same) item.file.clear();
        item.kind = found[k].same ? UpdateItem::Kept : UpdateItem::Replaced;
    }
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
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    std::unordered_map<std::string, std::size_t> firstEntryOf;
    firstEntryOf.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        firstEntryOf.emplace(keys.emplace_back(lookupKey(entries[i].entryPath)), i);
    std::vector<std::size_t> atFiles;  // the items whose entry has a file in the folder
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntrySlot& slot = entries[i];
        auto file = firstEntryOf.at(keys[i]) == i ? files.find(keys[i]) : files.end();
        const bool removed = removedByAny(request.removePatterns, slot.entryPath);
        if (removed) plan.removedPaths.push_back(slot.entryPath);
        if (file == files.end()) {
            if (!removed) plan.items.push_back({UpdateItem::Kept, i, slot.entryPath, {}});
            continue;
        }
        fs::path path = std::move(file->second.second);
        files.erase(file);
        if (removed) continue;
        atFiles.push_back(plan.items.size());
        plan.items.push_back({UpdateItem::Kept, i, slot.entryPath, std::move(path)});
    }
    compareWithFiles(request, plan, atFiles, pause, cache);

    std::vector<UpdateItem> added;
    for (auto& [key, file] : files) added.push_back({UpdateItem::Added, 0, file.first, file.second});
    std::sort(added.begin(), added.end(),
              [](const UpdateItem& a, const UpdateItem& b) { return a.entryPath < b.entryPath; });
    plan.items.insert(plan.items.end(), added.begin(), added.end());
    return plan;
}
