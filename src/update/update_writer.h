// Writes an updated archive in one pass: the tables first (every size is known before a byte of
// data is written), then each entry's copies. Kept entries keep their TOC record and their
// stored bytes as they are, copied without inflating them; replaced and added entries store
// what the compression pass made of the folder's file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "update/update_plan.h"

// The bytes a replaced or added entry stores.
struct StagedData {
    std::filesystem::path file;  // the folder's file itself, or zlibc's output for it
    bool zlibWrapped = false;    // zlibc's output: stored is what lies inside its zlib wrapping
    std::int32_t originalSize = 0;
};

struct UpdateCounts {
    int entries = 0;
    int stocGroups = 0;
};

// `staged` holds one element per plan item (unused for kept ones). The archive's STOC groups
// are kept; a group that loses names to removed entries goes when no name left in it names an
// entry of the new archive. With `autoAddNewFiles` each added file gets the group of a new file
// that the pack gives it. `output` is replaced only by the whole archive, once on disk and
// read back (saved_archive_check.h); a failure (a Failure) leaves it as it was.
UpdateCounts writeUpdatedArchive(const UpdatePlan& plan, const std::filesystem::path& archive,
                                 const std::vector<StagedData>& staged, bool autoAddNewFiles,
                                 const std::filesystem::path& output, const std::function<void()>& pause = {});
