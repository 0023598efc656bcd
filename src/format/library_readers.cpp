// The packer's readers of the library .toc and .stoc texts.
#include "format/library_readers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/text.h"

std::vector<TocLibraryLine> readTocLibrary(std::string_view text) { return readTocLibrary(splitCrLf(text)); }

std::vector<TocLibraryLine> readTocLibrary(const std::vector<std::string>& lines) {
    std::vector<TocLibraryLine> result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = trimSpaces(lines[i]);
        if (line.empty() || startsWith(line, "--")) continue;
        std::size_t firstBlank = line.find(' ');
        if (firstBlank == std::string_view::npos) continue;
        std::size_t secondBlank = line.find(' ', firstBlank + 1);
        if (secondBlank == std::string_view::npos) continue;
        result.push_back({std::string(line.substr(0, firstBlank)),
                          std::string(line.substr(firstBlank + 1, secondBlank - firstBlank - 1)),
                          std::string(line.substr(secondBlank + 1)), static_cast<int>(i + 1)});
    }
    return result;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number: blanks around it, an optional sign, digits with an optional
// fraction, an optional exponent. Gives the value rounded half-to-even, or nothing when the
// text is not such a number or the value does not fit a signed 32-bit integer.
std::optional<std::int32_t> headerValue(std::string_view text) {
    text = trimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t at = 0, digits = 0;
    while (at < text.size() && isDigit(text[at])) ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && isDigit(text[at])) ++at, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponentDigits = 0;
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        while (at < text.size() && isDigit(text[at])) ++at, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (at != text.size()) return std::nullopt;

    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    double rounded = std::nearbyint(negative ? -value : value);  // the default mode: halves to even
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::string withoutBrackets(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '[' && c != ']') out.push_back(c);
    return out;
}

}  // namespace

StocLibrary parseStocLibrary(std::string_view text) { return parseStocLibrary(splitCrLf(trimTrailingCrLf(text))); }

StocLibrary parseStocLibrary(const std::vector<std::string>& lines) {
    StocLibrary result;
    std::size_t i = 0;
    while (i < lines.size()) {
        std::string_view line = trimSpaces(lines[i]);
        if (!startsWith(line, "[")) {
            ++i;
            continue;
        }
        std::string headerText = withoutBrackets(line);
        std::optional<std::int32_t> size = headerValue(headerText);
        if (!size || *size < 0) {
            result.error = StocLibraryError{headerText, static_cast<int>(i + 1)};
            return result;
        }
        StocLibraryGroup group{*size, {}, static_cast<int>(i + 1)};
        ++i;
        for (std::int32_t stillToCome = *size; i < lines.size() && stillToCome != 0; ++i) {
            std::string_view name = trimSpaces(lines[i]);
            if (name.empty()) continue;
            group.names.emplace_back(name);
            --stillToCome;
        }
        result.groups.push_back(std::move(group));
        ++i;  // the line after a group's last name is passed over unseen
    }
    return result;
}

std::string stocHeaderErrorText(const StocLibraryError& error) {
    return error.headerText + "\r\n\r\nNon numeric [header] in STOC library file.\r\n\r\nSee line " +
           std::to_string(error.lineNumber) + ".";
}
