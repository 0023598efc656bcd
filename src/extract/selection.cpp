#include "extract/selection.h"

#include "shell/form.h"

std::int32_t FindFirstSelected(const Form& form, std::int32_t current) {
    int first = form.window.nextSelectedLine(-1);
    return first >= 0 ? first : current;
}

std::int32_t FindNextSelected(const Form& form, std::int32_t index) {
    int next = form.window.nextSelectedLine(index);
    return next >= 0 ? next : index;
}
