// The program keeps its texts as UTF-8. A few files belong to the system's plain-text world
// (the settings file, which people open in the system's editor): their bytes are in the
// system's narrow encoding, UTF-8 on Linux and the ANSI code page on Windows (949 on a Korean
// system). These two turn texts between the two at that file's edge. The system's reasons
// for its errors come from here too.
#pragma once

#include <boost/system/error_code.hpp>

#include <string>
#include <string_view>

namespace tesslin {

// UTF-8 text as the system's narrow encoding. Characters the code page lacks become '?'.
std::string ToSystemCodePage(std::string_view utf8);

// Bytes in the system's narrow encoding as UTF-8.
std::string FromSystemCodePage(std::string_view bytes);

// The reason a user reads for `code` ("Permission denied"), the same words on every system for
// the errors a file operation commonly meets.
std::string ErrorCodeText(const boost::system::error_code& code);

} // namespace tesslin
