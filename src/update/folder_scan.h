// A quick look at an update's folder: the files the pack's walk would give, in its order, each
// with its entry path and its stamp, read folder by folder on every core rather than by whole
// paths. It takes only a tree of regular files and real folders with names that entries can
// hold; for anything else (a link, a folder it cannot list, a name holding "\" or ":", a system
// it does not know) it gives nothing, and the caller walks the folder as the pack does, which
// says what is wrong.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/file_stamp.h"

struct ScannedFile {
    std::string entryPath;           // "\" separators
    std::optional<FileStamp> stamp;  // as fileStamp gives it
};

// Our own unfinished work files (isLeftoverName) are left out, as the walk leaves them.
// `afterFolder` is called after each folder listed.
std::optional<std::vector<ScannedFile>> scanPlainFolder(const std::filesystem::path& folder,
                                                        const std::function<void()>& afterFolder = {});
