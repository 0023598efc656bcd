#include "extract/selection.h"

#include <algorithm>
#include <vector>

#include "shell/form.h"

void FindFirstSelected(Form& form) { FindNextSelected(form, -1); }

void FindNextSelected(Form& form, std::int32_t index) {
    std::vector<int> selected = form.window.selectedLines();  // ascending
    auto next = std::upper_bound(selected.begin(), selected.end(), index);
    if (next != selected.end()) form.currentEntryIndex = *next;
}
