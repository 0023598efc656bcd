// Walking the lines selected in the file list, and picking lines by pattern. The selection is
// read afresh each time, since the user may change it while an extraction lets the window run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct Form;

// The first selected line; `current` when none is.
std::int32_t FindFirstSelected(const Form& form, std::int32_t current);
// The first selected line after `index`; `index` itself when none is, so that a pass whose
// selection was cleared meanwhile extracts the same entry again.
std::int32_t FindNextSelected(const Form& form, std::int32_t index);

// The list lines whose entry path matches any pattern of a ";"-separated list, ascending. Line
// i shows entry slot i.
std::vector<int> linesMatching(const Form& form, std::string_view patternList);
// The status line after a selection by pattern: "12 of 10001 lines match textures/*.dds".
std::string patternMatchStatus(std::size_t matched, int lineCount, std::string_view patternList);
