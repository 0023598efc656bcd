// Walking the lines selected in the file list. The selection is read afresh each time, since
// the user may change it while an extraction lets the window run.
#pragma once

#include <cstdint>

struct Form;

// The first selected line; `current` when none is.
std::int32_t FindFirstSelected(const Form& form, std::int32_t current);
// The first selected line after `index`; `index` itself when none is, so that a pass whose
// selection was cleared meanwhile extracts the same entry again.
std::int32_t FindNextSelected(const Form& form, std::int32_t index);
