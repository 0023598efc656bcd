// Walking the lines selected in the file list, and picking lines by pattern. The selection is
// read afresh each time, since the user may change it while an extraction lets the window run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Form;

// The first selected line; `current` when none is.
std::int32_t FindFirstSelected(const Form& form, std::int32_t current);
// The first selected line after `index`; `index` itself when none is, so that a pass whose
// selection was cleared meanwhile extracts the same entry again.
std::int32_t FindNextSelected(const Form& form, std::int32_t index);

// The list lines whose entry path matches any of the patterns, ascending (line i shows entry
// slot i), and the first pattern that matches no entry, if any. The one matcher of the window's
// pattern field and the command line's patterns.
struct PatternMatch {
    std::vector<int> lines;
    std::optional<std::string_view> unmatched;
};
PatternMatch matchLines(const Form& form, const std::vector<std::string_view>& patterns);
// The lines for a ";"-separated list of patterns, as the window's field holds it.
std::vector<int> linesMatching(const Form& form, std::string_view patternList);
// The status line after a selection by pattern: "12 of 10001 lines match textures/*.dds".
std::string patternMatchStatus(std::size_t matched, int lineCount, std::string_view patternList);
