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

PatternMatch matchLines(const Form& form, const std::vector<std::string_view>& patterns) {
    PatternMatch match;
    std::vector<bool> used(patterns.size(), false);
    const int count = std::min<int>(form.window.listLineCount(), form.entryCount);
    for (int i = 0; i < count; ++i) {
        bool selected = false;
        for (std::size_t k = 0; k < patterns.size(); ++k)
            if (entryPathMatches(patterns[k], form.entries[static_cast<std::size_t>(i)].entryPath))
                used[k] = selected = true;
        if (selected) match.lines.push_back(i);
    }
    for (std::size_t k = 0; k < patterns.size() && !match.unmatched; ++k)
        if (!used[k]) match.unmatched = patterns[k];
    return match;
}

std::vector<int> linesMatching(const Form& form, std::string_view patternList) {
    return matchLines(form, splitPatternList(patternList)).lines;
}

std::string patternMatchStatus(std::size_t matched, int lineCount, std::string_view patternList) {
    return std::to_string(matched) + " of " + std::to_string(lineCount) + " lines match " + std::string(patternList);
}
