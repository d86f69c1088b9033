#include "platform/Error.h"

#include <boost/filesystem/exception.hpp>
#include <boost/regex/pattern_except.hpp>

#include <cstring>

namespace tesslin {

Error SystemError(const std::string& what, int err) {
    return Error(what + ": " + std::strerror(err));
}

std::string ErrorText(const std::exception& e) {
    // Boost's own what() leads with the library function that failed
    // ("boost::filesystem::directory_iterator::construct: ..."), which tells a user nothing.
    if (const auto* fs_error = dynamic_cast<const boost::filesystem::filesystem_error*>(&e)) {
        std::string text = "Cannot read";
        if (!fs_error->path1().empty()) {
            text += " \"" + fs_error->path1().string() + "\"";
        } else {
            text += " an empty path";
        }
        return text + ": " + fs_error->code().message();
    }
    if (const auto* regex_error = dynamic_cast<const boost::regex_error*>(&e)) {
        return std::string("Invalid regular expression: ") + regex_error->what();
    }
    return e.what();
}

} // namespace tesslin
