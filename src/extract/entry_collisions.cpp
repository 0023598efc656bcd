#include "extract/entry_collisions.h"

#include "common/paths.h"
#include "common/windows_names.h"

namespace {

// A place the entries claim: the key of a path, and whether it is a file or a folder there.
struct Claim {
    std::size_t index;  // the entry that claimed it first
    bool folder;
};

}  // namespace

EntryCollisions::EntryCollisions(const std::vector<EntrySlot>& entries,
                                 const std::function<bool(const EntrySlot&)>& written) {
    std::unordered_map<std::string, Claim> claims;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& path = entries[i].entryPath;
        std::optional<std::vector<std::string_view>> segments = archivePathSegments(path);
        if (!segments || !written(entries[i])) continue;
        std::vector<std::string> keys;  // of the entry's folders, then of its file
        std::string key;
        for (std::string_view segment : *segments) {
            const std::string name = sameFileKey(segment);
            if (name.empty()) refusals_[i] = path + " names no file on Windows";
            if (isWindowsDeviceName(segment)) refusals_[i] = path + " names a device on Windows";
            key += (key.empty() ? "" : "\\") + name;
            keys.push_back(key);
        }
        if (refusals_.count(i) > 0) continue;
        // A place claimed before as a file, or the file's own place claimed at all, is taken.
        for (std::size_t k = 0; k < keys.size() && refusals_.count(i) == 0; ++k) {
            auto found = claims.find(keys[k]);
            const bool file = k + 1 == keys.size();
            if (found != claims.end() && (file || !found->second.folder))
                refusals_[i] = path + " would overwrite " + entries[found->second.index].entryPath;
        }
        if (refusals_.count(i) > 0) continue;
        for (std::size_t k = 0; k < keys.size(); ++k) claims.try_emplace(keys[k], Claim{i, k + 1 < keys.size()});
    }
}

std::optional<std::string> EntryCollisions::reason(std::size_t index) const {
    auto found = refusals_.find(index);
    if (found == refusals_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> EntryCollisions::refusal(std::size_t index) const {
    std::optional<std::string> why = reason(index);
    return why ? std::optional<std::string>("Refused: " + *why) : std::nullopt;
}
