// The blanks of the settings file and of the extension-list boxes.
#pragma once

namespace tesslin {

// The classic "C" locale's space class: blank, tab, LF, VT, FF and CR. Bytes of 128 and
// above are never blanks, whatever the text's encoding.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace tesslin
