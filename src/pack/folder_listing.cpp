#include "pack/folder_listing.h"

#include <algorithm>

#include "common/files.h"

FolderListing listFolder(const fs::path& folder) {
    FolderListing listing;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        fs::file_status own = it->symlink_status(typeError);
        if (fs::is_directory(own)) {
            listing.folders.push_back(it->path());
        } else if (fs::is_directory(it->status(typeError))) {  // a symbolic link or junction
            listing.linkedFolders.push_back(it->path());
        } else {
            listing.files.push_back(it->path());
        }
    }
    if (ec) failFile("list the folder", folder, ec.message());
    for (auto* list : {&listing.files, &listing.folders, &listing.linkedFolders})
        std::sort(list->begin(), list->end(),
                  [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    return listing;
}
