#include "platform/Error.h"

#include "platform/SystemText.h"

#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>
#include <boost/regex/pattern_except.hpp>

#include <cerrno>
#include <cstring>

namespace tesslin {

Error SystemError(const std::string& what, int err) {
    return Error(what + ": " + SystemReason(err));
}

std::string SystemReason(int err) {
    return std::strerror(err);
}

std::string NotARegularFile(bool is_folder) {
    return is_folder ? SystemReason(EISDIR) : "not a regular file";
}

Error FileError(const std::string& what, const std::string& path, const std::string& reason) {
    namespace fs = boost::filesystem;
    // A working folder that was removed has no name any more; the path then stays as given.
    boost::system::error_code ec;
    const fs::path cwd = fs::path(path).is_absolute() ? fs::path() : fs::current_path(ec);
    const std::string full = ec || cwd.empty() ? path : (cwd / path).string();
    return Error(what + "\n" + full + ": " + reason);
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
        return text + ": " + ErrorCodeText(fs_error->code());
    }
    if (const auto* regex_error = dynamic_cast<const boost::regex_error*>(&e)) {
        return std::string("Invalid regular expression: ") + regex_error->what();
    }
    return e.what();
}

} // namespace tesslin
