// What an update does with each entry of an archive and each file of a folder, decided before
// anything is written: an entry is kept as stored, replaced by the folder's file at its path
// when that file's content differs, or removed; a file that no entry has is added.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "format/archive_tables.h"
#include "update/update_cache.h"

struct UpdateRequest {
    std::filesystem::path archive;
    std::filesystem::path folder;
    std::vector<std::string> removePatterns;  // one pattern each, as extraction matches them
};

struct UpdateItem {
    enum Kind { Kept, Replaced, Added } kind = Kept;
    std::size_t entry = 0;       // Kept and Replaced: its index in the archive's tables
    std::string entryPath;       // "\" separators
    std::filesystem::path file;  // Replaced and Added: the folder's file
};

struct UpdatePlan {
    ArchiveLayout layout;
    ArchiveTables tables;  // with the entries' records
    // The archive's entries in order, less the removed ones, then the added files in byte
    // order of their paths.
    std::vector<UpdateItem> items;
    std::vector<std::string> removedPaths;  // in the archive's order
    std::vector<std::string> notes;         // the walk's log lines: links not followed

    bool changesNothing() const;
};

// Fails (a Failure saying why) when the archive cannot be read, a pattern matches no entry, or
// the folder cannot be walked or holds two files for one entry path. `pause` is called after
// each folder listed and each entry compared. A file that `cache` knows to hold its entry's
// content, unwritten since, is not read; what the comparisons find is remembered in it.
UpdatePlan planUpdate(const UpdateRequest& request, const std::function<void()>& pause = {},
                      UpdateCache* cache = nullptr);
