// Names from archives and file systems shown on a terminal. A terminal acts on control
// characters (ESC starts sequences that move the cursor or set the window title, CR returns to
// the line's start), so a name could rewrite what is shown; on a terminal they are shown as
// escapes instead.
#pragma once

#include <string>
#include <string_view>

// Appends `text` with every byte a terminal could act on written as an escape: TAB, LF and CR
// as "\t", "\n" and "\r"; other C0 controls and DEL as "\xHH"; the C1 controls U+0080 to
// U+009F (which some terminals take as ESC sequences) as the "\xHH\xHH" of their UTF-8 form;
// and each byte that is not part of valid UTF-8 as "\xHH" (a terminal in an 8-bit mode reads
// 0x9B as a control). All else is kept byte for byte, "\" too: it separates an entry path's
// folders, so a name's own "\x1B" text reads like an escape; scripts use list -0 instead.
void appendTerminalText(std::string& out, std::string_view text);
