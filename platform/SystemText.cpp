#include "platform/SystemText.h"

#include "platform/Translation.h"

namespace tesslin {

// The system's narrow encoding is UTF-8 here: the bytes stay as they are, valid or not, so a
// settings file written by hand in any encoding keeps every byte.
std::string ToSystemCodePage(std::string_view utf8) {
    return std::string(utf8);
}

std::string FromSystemCodePage(std::string_view bytes) {
    return std::string(bytes);
}

std::string ErrorCodeText(const boost::system::error_code& code) {
    return Say(code.message());
}

} // namespace tesslin
