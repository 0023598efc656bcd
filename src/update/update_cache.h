// What earlier updates found out: the folder's files that held exactly their entry's content,
// each with its stamp (file_stamp.h), for one archive (by its path and stamp) and one folder. A
// file whose stamp is still the one kept is not read again; every other file is compared in
// full. A cache that is missing, damaged or for another archive or folder is no cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/file_stamp.h"

class UpdateCache {
public:
    // Reads `file` when it is the cache of this archive and folder, for an update that begins
    // at `startedAt` (stampNow's time).
    UpdateCache(std::filesystem::path file, const std::filesystem::path& archive, const std::filesystem::path& folder,
                std::int64_t startedAt = stampNow());

    // Whether the entry's file, with this stamp, held the entry's content when last compared.
    bool knownSame(std::size_t entry, const std::string& entryPath, const FileStamp& stamp) const;
    // The entry's file holds its content now. Kept only when its times lie clearly before this
    // update began: a write during it could otherwise leave the same times behind.
    void remember(std::size_t entry, const std::string& entryPath, const FileStamp& stamp);
    // Replaces the cache with what was remembered; a failure only loses the cache.
    void save() const;

private:
    struct Known {
        std::string entryPath;
        FileStamp stamp;
        bool operator==(const Known&) const = default;
    };
    using Entries = std::vector<std::optional<Known>>;  // by entry index
    static void put(Entries& entries, std::size_t entry, Known known);

    std::filesystem::path file_;
    std::string identity_;  // the archive's path and stamp and the folder's path; empty: no cache
    std::int64_t startedAt_;
    bool loaded_ = false;  // the file was this archive's and folder's cache
    Entries read_, remembered_;
};
