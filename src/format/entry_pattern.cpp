#include "format/entry_pattern.h"

#include <cstddef>

#include "common/text.h"

namespace {

char folded(char c) {
    if (c == '/') return '\\';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Past the character that starts at `at`.
std::size_t afterCharacter(std::string_view text, std::size_t at) {
    ++at;
    while (at < text.size() && continuationByte(text[at])) ++at;
    return at;
}

}  // namespace

bool entryPathMatches(std::string_view pattern, std::string_view entryPath) {
    // The classic single backtrack: after a mismatch, the last "*" takes one more character.
    std::size_t p = 0, e = 0;
    std::size_t starAt = std::string_view::npos, starTakesUpTo = 0;
    while (e < entryPath.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            starTakesUpTo = e;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            e = afterCharacter(entryPath, e);
        } else if (p < pattern.size() && folded(pattern[p]) == folded(entryPath[e])) {
            ++p, ++e;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            e = starTakesUpTo = afterCharacter(entryPath, starTakesUpTo);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string_view> splitPatternList(std::string_view patternList) {
    std::vector<std::string_view> patterns;
    while (!patternList.empty()) {
        const std::size_t end = patternList.find(';');
        const std::string_view pattern = trimSpaces(patternList.substr(0, end));
        if (!pattern.empty()) patterns.push_back(pattern);
        patternList = end == std::string_view::npos ? std::string_view() : patternList.substr(end + 1);
    }
    return patterns;
}
