#include "extract/selection.h"

#include <algorithm>

#include "format/entry_pattern.h"
#include "shell/form.h"

std::int32_t FindFirstSelected(const Form& form, std::int32_t current) {
    int first = form.window.nextSelectedLine(-1);
    return first >= 0 ? first : current;
}

std::int32_t FindNextSelected(const Form& form, std::int32_t index) {
    int next = form.window.nextSelectedLine(index);
    return next >= 0 ? next : index;
}

std::vector<int> linesMatching(const Form& form, std::string_view patternList) {
    std::vector<int> lines;
    const int count = std::min<int>(form.window.listLineCount(), form.entryCount);
    for (int i = 0; i < count; ++i)
        if (entryPathMatchesAny(patternList, form.entries[static_cast<std::size_t>(i)].entryPath)) lines.push_back(i);
    return lines;
}

std::string patternMatchStatus(std::size_t matched, int lineCount, std::string_view patternList) {
    return std::to_string(matched) + " of " + std::to_string(lineCount) + " lines match " + std::string(patternList);
}
