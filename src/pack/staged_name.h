// Names of the files that the compression pass leaves in Temp for the writer:
// flattened path "." original size "." copies "." new-file flag, then ".cmp" or ".unc".
// The writer reads them back from the right, so the path itself may hold dots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// `relativePath` uses "\" separators; `copies` goes into the name as the library has it.
std::string buildStagedName(std::string_view relativePath, std::int64_t originalSize, std::string_view copies,
                            bool newFile, bool compressed);

// What the writer needs from a staged name.
struct StagedName {
    std::string tocName;  // "/" separators, as the archive's TOC holds it
    std::int32_t originalSize = 0;
    std::int16_t copies = 0;
    bool newFile = false;
    bool compressed = false;  // kind is exactly ".cmp"; any other kind is stored as is
};

// Fails, naming the staged file, when a field is missing or is not a whole number that
// fits its width (copies 0 to 8191, original size 0 to 2147483647).
StagedName parseStagedName(std::string_view stagedName);

// The highest copy count the archive reader can step over (4 x copies fits 16 bits).
inline constexpr int kMaxCopies = 8191;
