#include "common/text.h"

#include "common/failure.h"

std::string hexUpper(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

std::string hex8(std::int32_t value) {
    std::string digits = hexUpper(static_cast<std::uint32_t>(value));
    return std::string(8 - digits.size(), '0') + digits;
}

std::string decimalPadded(long long value, int width, const char* what) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) digits.insert(digits.begin(), '-');
    if (static_cast<int>(digits.size()) > width)
        throw Failure(std::string(what) + " (" + std::to_string(value) + ") has more than the " +
                      std::to_string(width) + " digits its field shows.");
    return std::string(width - digits.size(), '0') + digits;
}

std::string quotedName(std::string_view name) {
    if (name.size() <= kQuotedNameBytes) return std::string(name);
    std::size_t cut = kQuotedNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // a continuation byte
    return std::string(name.substr(0, cut)) + "...";
}

std::string byteCount(std::uint64_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

std::vector<std::string> splitCrLf(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(CRLF, start);
        if (at == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            return lines;
        }
        lines.emplace_back(text.substr(start, at - start));
        start = at + 2;
    }
}

std::string_view trimTrailingCrLf(std::string_view text) {
    while (endsWith(text, CRLF)) text.remove_suffix(2);
    return text;
}

std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::string replaceAll(std::string_view text, char from, char to) {
    std::string out(text);
    for (char& c : out)
        if (c == from) c = to;
    return out;
}

std::string_view afterLast(std::string_view text, char separator) {
    std::size_t at = text.rfind(separator);
    return at == std::string_view::npos ? text : text.substr(at + 1);
}
