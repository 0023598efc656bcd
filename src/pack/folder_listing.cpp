#include "pack/folder_listing.h"

#include <algorithm>

#include "common/files.h"
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
                  [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return listing;
}

std::vector<WalkStep> walkPackFolder(const fs::path& packFolder) {
    std::vector<WalkStep> walk;
    std::vector<fs::path> pending{packFolder};
    while (!pending.empty()) {
        fs::path folder = std::move(pending.back());
        pending.pop_back();
        FolderListing listing;
        try {
            listing = listFolder(folder);
        } catch (const std::exception& e) {
            walk.push_back({WalkStep::Unlistable, folder, e.what()});
            break;
        }
        for (fs::path& file : listing.files) walk.push_back({WalkStep::File, std::move(file), {}});
        for (fs::path& link : listing.linkedFolders) walk.push_back({WalkStep::LinkNotFollowed, std::move(link), {}});
        pending.insert(pending.end(), listing.folders.rbegin(), listing.folders.rend());
    }
    return walk;
}
