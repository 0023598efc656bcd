#include "extract/selection.h"

#include "shell/form.h"

void FindFirstSelected(Form& form) { FindNextSelected(form, -1); }

void FindNextSelected(Form& form, std::int32_t index) {
    int next = form.window.nextSelectedLine(index);
    if (next >= 0) form.currentEntryIndex = next;
}
