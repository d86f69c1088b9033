// Windows' side of the program's texts. The program keeps every text, paths included, as UTF-8
// on every system; Windows' own functions take UTF-16, and files that other Windows programs
// read as plain text hold the system's ANSI code page. Windows builds only.
#pragma once

#include <string>
#include <string_view>

namespace tesslin::win {

// UTF-8 to UTF-16 and back. Bytes that are not UTF-8 become U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The system's text for the Windows error `code` (GetLastError), without the closing period
// and line end. The errors a file operation commonly meets read as on the other systems
// ("File exists", "Permission denied"), so a message says the same everywhere.
std::string ErrorText(unsigned long code);

} // namespace tesslin::win
