// Text helpers for the program's byte-string texts: number formats, CR LF lines, trimming.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view CRLF = "\r\n";

// Upper-case hexadecimal without leading zeros ("E6B4", "0").
std::string hexUpper(std::uint64_t value);
// Eight upper-case hex digits; negative values show as two's complement ("FFFFFFFF").
std::string hex8(std::int32_t value);
// Decimal padded with "0" on the left to `width` digits; fails when it does not fit.
std::string decimalPadded(long long value, int width, const char* what);

// A name as a message quotes it: at most its first kQuotedNameBytes bytes, cut before a UTF-8
// sequence that would not fit whole, "..." marking the cut. A name read from a file can be of
// any length; a message box cannot.
inline constexpr std::size_t kQuotedNameBytes = 200;
std::string quotedName(std::string_view name);

// "1 byte", "2 bytes".
std::string byteCount(std::uint64_t count);

// Splits at every CR LF pair; an empty text gives no lines.
std::vector<std::string> splitCrLf(std::string_view text);
// Removes every trailing CR LF pair.
std::string_view trimTrailingCrLf(std::string_view text);
// Removes leading and trailing blanks (spaces only).
std::string_view trimSpaces(std::string_view text);

bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);
// ASCII letters compared without regard to case; other bytes exactly.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
std::string asciiLower(std::string_view text);
std::string replaceAll(std::string_view text, char from, char to);
// The part after the last `separator` (all of it when there is none).
std::string_view afterLast(std::string_view text, char separator);
