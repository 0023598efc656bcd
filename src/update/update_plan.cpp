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
#include "update/folder_scan.h"

namespace fs = std::filesystem;

namespace {

bool removedByAny(const std::vector<std::string>& patterns, const std::string& entryPath) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return entryPathMatches(pattern, entryPath); });
}

// A file of the folder: its entry path, its path (made from the entry path when it is needed,
// where the scan gave none) and its stamp, when the scan took it.
struct FolderFile {
    std::string entryPath;
    fs::path path;
    bool stamped = false;
    std::optional<FileStamp> stamp;
};

using FolderFiles = std::unordered_map<std::string, FolderFile>;

void addFolderFile(FolderFiles& files, FolderFile file) {
    // Nothing is moved when the key is taken already.
    auto [at, fresh] = files.try_emplace(lookupKey(file.entryPath), std::move(file));
    if (!fresh)
        throw Failure("'" + at->second.entryPath + "' and '" + file.entryPath +
                      "' in the folder are one entry path in the archive, which ignores letter case.");
}

// The folder's files by their entry path's lookup key; links to folders are noted, our own
// unfinished work files left out. A tree of plain files and folders is scanned, anything else
// walked as the pack walks it.
FolderFiles folderFiles(const fs::path& folder, UpdatePlan& plan, const std::function<void()>& pause) {
    FolderFiles files;
    if (std::optional<std::vector<ScannedFile>> scanned = scanPlainFolder(folder, pause)) {
        files.reserve(scanned->size());
        for (ScannedFile& file : *scanned) addFolderFile(files, {std::move(file.entryPath), {}, true, file.stamp});
        return files;
    }
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
        addFolderFile(files, {std::move(*entryPath), std::move(step.path), false, {}});
    }
    return files;
}

fs::path pathOf(const fs::path& folder, const FolderFile& file) {
    return file.path.empty() ? folder / hostPath(replaceAll(file.entryPath, '\\', '/')) : file.path;
}

// What was found of a folder file at an entry's path: whether it holds the entry's content,
// known from the cache or compared in full, its stamp taken before it was read, and its path
// when it was compared.
struct Finding {
    bool same = false;
    std::optional<FileStamp> stamp;
    fs::path path;
};

Finding findingOf(const UpdateRequest& request, const UpdatePlan& plan, const UpdateItem& item, const FolderFile& file,
                  const UpdateCache* cache) {
    const EntrySlot& slot = plan.tables.entries[item.entry];
    Finding found{false, {}, {}};
    if (file.stamped) {
        found.stamp = file.stamp;
    } else {
        found.path = pathOf(request.folder, file);
        found.stamp = fileStamp(found.path);
    }
    if (found.stamp && cache && cache->knownSame(item.entry, slot.entryPath, *found.stamp)) {
        found.same = true;
        return found;
    }
    if (found.path.empty()) found.path = pathOf(request.folder, file);
    found.same = compareFileWithEntry(request.archive, slot, found.path, plan.layout.fileSize) == FileComparison::Same;
    return found;
}

// Each entry that has a file in the folder becomes Kept or Replaced; the files are looked at on
// every core, and the cache learns what was found.
void compareWithFiles(const UpdateRequest& request, UpdatePlan& plan, const std::vector<std::size_t>& atFiles,
                      const std::vector<FolderFile>& filesAt, const std::function<void()>& pause, UpdateCache* cache) {
    std::vector<Finding> found(atFiles.size());
    onEveryCore(
        atFiles.size(),
        [&](std::size_t k, std::size_t) {
            found[k] = findingOf(request, plan, plan.items[atFiles[k]], filesAt[k], cache);
        },
        pause);
    for (std::size_t k = 0; k < atFiles.size(); ++k) {
        UpdateItem& item = plan.items[atFiles[k]];
        if (found[k].same && found[k].stamp && cache) cache->remember(item.entry, item.entryPath, *found[k].stamp);
        if (!found[k].same) item.file = std::move(found[k].path);
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

    // The first entry of a path takes the folder's file out of `files`, so that later entries of
    // that path find none; an entry removed takes it too, so that it is not added again.
    std::vector<std::size_t> atFiles;  // the items whose entry has a file in the folder
    std::vector<FolderFile> filesAt;   // and those files
    plan.items.reserve(entries.size() + files.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntrySlot& slot = entries[i];
        auto file = files.find(lookupKey(slot.entryPath));
        const bool removed = removedByAny(request.removePatterns, slot.entryPath);
        if (removed) plan.removedPaths.push_back(slot.entryPath);
        if (file == files.end()) {
            if (!removed) plan.items.push_back({UpdateItem::Kept, i, slot.entryPath, {}});
            continue;
        }
        FolderFile found = std::move(file->second);
        files.erase(file);
        if (removed) continue;
        atFiles.push_back(plan.items.size());
        filesAt.push_back(std::move(found));
        plan.items.push_back({UpdateItem::Kept, i, slot.entryPath, {}});
    }
    compareWithFiles(request, plan, atFiles, filesAt, pause, cache);

    std::vector<UpdateItem> added;
    for (auto& [key, file] : files)
        added.push_back({UpdateItem::Added, 0, file.entryPath, pathOf(request.folder, file)});
    std::sort(added.begin(), added.end(),
              [](const UpdateItem& a, const UpdateItem& b) { return a.entryPath < b.entryPath; });
    plan.items.insert(plan.items.end(), added.begin(), added.end());
    return plan;
}
