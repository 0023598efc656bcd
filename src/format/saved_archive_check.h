// The check of a new archive before it replaces anything: read back from its file as opening
// it reads it, every entry's data inside the file and every compressed entry inflating to the
// size its TOC gives.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>

// Fails (a Failure) naming the first entry that is not whole. The entries are checked on every
// core; `inflates` may be called from any of them. `inflates` picks the compressed
// entries to inflate (all when not given): those written anew.
void checkSavedArchive(const std::filesystem::path& archive,
                       const std::function<bool(std::size_t entry)>& inflates = {});
