#include "cli/terminal_text.h"

namespace {

unsigned char byteAt(std::string_view text, std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
}

// The length of the valid UTF-8 sequence of two to four bytes at text[i], or 0. The second
// byte's range rules out overlong forms, surrogates and code points beyond U+10FFFF.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const unsigned char lead = byteAt(text, i), second = byteAt(text, i + 1);
    if (lead < 0xC2 || lead > 0xF4) return 0;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byteAt(text, i + k) & 0xC0) != 0x80) return 0;
    return length;
}

void appendHex(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

}  // namespace

void appendTerminalText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char byte = byteAt(text, i);
        if (byte >= 0x20 && byte < 0x7F) {
            out += text[i++];
        } else if (byte == '\t' || byte == '\n' || byte == '\r') {
            out += byte == '\t' ? "\\t" : byte == '\n' ? "\\n" : "\\r";
            ++i;
        } else if (const std::size_t length = byte < 0x80 ? 0 : utf8Length(text, i); length == 0) {
            appendHex(out, byte);
            ++i;
        } else if (byte == 0xC2 && byteAt(text, i + 1) < 0xA0) {  // a C1 control
            appendHex(out, byte);
            appendHex(out, byteAt(text, i + 1));
            i += 2;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
}
