#include "pack/folder_listing.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/every_core.h"
#include "common/files.h"
#include "common/leftovers.h"
#include "common/links.h"

namespace {

// In byte order of the names, each name's text made once.
void sortByName(std::vector<fs::path>& paths) {
    std::vector<std::pair<std::string, fs::path>> named;
    named.reserve(paths.size());
    for (fs::path& path : paths) named.emplace_back(pathText(path.filename()), std::move(path));
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < named.size(); ++i) paths[i] = std::move(named[i].second);
}

}  // namespace

FolderListing listFolder(const fs::path& folder) {
    FolderListing listing;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // The listing's own file type where it has one: a stat only for links and unknowns.
        std::error_code typeError;
        const bool folder = it->is_directory(typeError);
        if (folder && isLinkOrJunction(it->path()))
            listing.linkedFolders.push_back(it->path());
        else if (folder)
            listing.folders.push_back(it->path());
        else
            listing.files.push_back(it->path());
    }
    if (ec) failFile("list the folder", folder, ec.message());
    for (auto* list : {&listing.files, &listing.folders, &listing.linkedFolders}) sortByName(*list);
    return listing;
}

std::vector<WalkStep> walkPackFolder(const fs::path& packFolder, const std::function<void()>& afterListing) {
    // Every folder is listed first, a level at a time on every core; the walk is then put
    // together from the listings in its depth-first order.
    struct Listed {
        fs::path folder;
        int level;
        std::optional<FolderListing> listing;  // nothing: it could not be listed
        std::string failure;
        std::vector<std::size_t> subFolders;  // indexes in `listed`
    };
    std::vector<Listed> listed{{packFolder, 0, {}, {}, {}}};
    for (std::size_t begin = 0, end = 1; begin < end; begin = end, end = listed.size()) {
        onEveryCore(
            end - begin,
            [&](std::size_t k, std::size_t) {
                Listed& folder = listed[begin + k];
                try {
                    folder.listing = listFolder(folder.folder);
                } catch (const std::exception& e) {
                    folder.failure = e.what();
                }
            },
            afterListing);
        for (std::size_t i = begin; i < end; ++i) {
            if (!listed[i].listing) continue;
            std::vector<fs::path> subFolders = std::move(listed[i].listing->folders);
            for (fs::path& sub : subFolders) {
                listed[i].subFolders.push_back(listed.size());
                listed.push_back({std::move(sub), listed[i].level + 1, {}, {}, {}});
            }
        }
    }

    // Depth first: a folder to walk, or one whose sub-folders have all been walked.
    constexpr int kFirstLevelDone = 1, kLastLevelDone = 14;
    std::vector<WalkStep> walk;
    std::vector<std::pair<std::size_t, bool>> pending{{0, false}};
    while (!pending.empty()) {
        const auto [index, done] = pending.back();
        pending.pop_back();
        Listed& folder = listed[index];
        if (done) {
            if (folder.level >= kFirstLevelDone && folder.level <= kLastLevelDone)
                walk.push_back({WalkStep::FolderDone, std::move(folder.folder), {}});
            continue;
        }
        if (!folder.listing) {
            walk.push_back({WalkStep::Unlistable, folder.folder, folder.failure});
            break;
        }
        for (fs::path& file : folder.listing->files) {
            const WalkStep::Kind kind = isLeftoverName(pathText(file.filename())) ? WalkStep::Leftover : WalkStep::File;
            walk.push_back({kind, std::move(file), {}});
        }
        for (fs::path& link : folder.listing->linkedFolders)
            walk.push_back({WalkStep::LinkNotFollowed, std::move(link), {}});
        pending.emplace_back(index, true);
        for (auto sub = folder.subFolders.rbegin(); sub != folder.subFolders.rend(); ++sub)
            pending.emplace_back(*sub, false);
    }
    return walk;
}
