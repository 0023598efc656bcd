#include "pack/folder_listing.h"

#include <algorithm>

#include "common/files.h"
#include "common/leftovers.h"
#include "common/links.h"

FolderListing listFolder(const fs::path& folder) {
    FolderListing listing;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const bool folder = fs::is_directory(it->status(typeError));
        if (folder && isLinkOrJunction(it->path()))
            listing.linkedFolders.push_back(it->path());
        else if (folder)
            listing.folders.push_back(it->path());
        else
            listing.files.push_back(it->path());
    }
    if (ec) failFile("list the folder", folder, ec.message());
    for (auto* list : {&listing.files, &listing.folders, &listing.linkedFolders})
        std::sort(list->begin(), list->end(),
                  [](const fs::path& a, const fs::path& b) { return pathText(a.filename()) < pathText(b.filename()); });
    return listing;
}

std::vector<WalkStep> walkPackFolder(const fs::path& packFolder, const std::function<void()>& afterListing) {
    // Depth first: a folder to list, or one whose sub-folders have all been walked.
    struct Pending {
        fs::path folder;
        int level;
        bool done;
    };
    constexpr int kFirstLevelDone = 1, kLastLevelDone = 14;
    std::vector<WalkStep> walk;
    std::vector<Pending> pending{{packFolder, 0, false}};
    while (!pending.empty()) {
        Pending next = std::move(pending.back());
        pending.pop_back();
        if (next.done) {
            if (next.level >= kFirstLevelDone && next.level <= kLastLevelDone)
                walk.push_back({WalkStep::FolderDone, std::move(next.folder), {}});
            continue;
        }
        FolderListing listing;
        try {
            listing = listFolder(next.folder);
        } catch (const std::exception& e) {
            walk.push_back({WalkStep::Unlistable, next.folder, e.what()});
            break;
        }
        if (afterListing) afterListing();
        for (fs::path& file : listing.files) {
            const WalkStep::Kind kind = isLeftoverName(pathText(file.filename())) ? WalkStep::Leftover : WalkStep::File;
            walk.push_back({kind, std::move(file), {}});
        }
        for (fs::path& link : listing.linkedFolders) walk.push_back({WalkStep::LinkNotFollowed, std::move(link), {}});
        pending.push_back({next.folder, next.level, true});
        for (auto sub = listing.folders.rbegin(); sub != listing.folders.rend(); ++sub)
            pending.push_back({std::move(*sub), next.level + 1, false});
    }
    return walk;
}
