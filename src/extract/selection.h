// Walking the lines selected in the file list. The selection is read afresh each time, since
// the user may change it while an extraction lets the window run.
#pragma once

#include <cstdint>

struct Form;

// Sets currentEntryIndex to the first selected line; leaves it unchanged when none is.
void FindFirstSelected(Form& form);
// Sets currentEntryIndex to the first selected line after `index`; unchanged when none is.
void FindNextSelected(Form& form, std::int32_t index);
