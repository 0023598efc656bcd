#include "common/windows_names.h"

#include <array>

#include "common/text.h"

namespace {

// Lower case for the code points that have a simple one-to-one lower case in the ranges named
// in the header.
char32_t lowerCase(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x178) return 0xFF;
        const bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return c + 1;
        return c;
    }
    if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

// One UTF-8 sequence of two bytes (up to U+07FF, which holds every range above); nothing else
// is decoded.
void appendLowered(std::string& out, std::string_view name, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(name[i]);
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < name.size() &&
        (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
        const char32_t c = lowerCase(char32_t(lead & 0x1F) << 6 | (static_cast<unsigned char>(name[i + 1]) & 0x3F));
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
        i += 2;
        return;
    }
    out += lead < 0x80 ? static_cast<char>(lowerCase(lead)) : name[i];
    ++i;
}

std::string_view withoutTrailingDotsAndBlanks(std::string_view name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    return name;
}

}  // namespace

std::string sameFileKey(std::string_view name) {
    name = withoutTrailingDotsAndBlanks(name);
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) appendLowered(key, name, i);
    return key;
}

bool isWindowsDeviceName(std::string_view name) {
    std::string base = asciiLower(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const std::array<std::string_view, 6> kPlain{"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (std::string_view device : kPlain)
        if (base == device) return true;
    if (base.size() < 4 || (base.compare(0, 3, "com") != 0 && base.compare(0, 3, "lpt") != 0)) return false;
    const std::string_view digit = std::string_view(base).substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2" ||
           digit == "\xC2\xB3";
}
