#include "platform/Error.h"

#include "platform/SystemText.h"
#include "platform/Translation.h"

#include <boost/filesystem/exception.hpp>
#include <boost/filesystem/operations.hpp>
#include <boost/regex/pattern_except.hpp>

#include <cerrno>
#include <cstring>

namespace tesslin {

namespace {
// The regular expression library's complaint: what is wrong, then where in the pattern. Each
// half may be known to the translation.
std::string RegexComplaint(const boost::regex_error& error) {
    const std::string what = error.what();
    const std::string where = ".  The error occurred while parsing the regular expression: ";
    const std::string::size_type split = what.find(where);
    if (split == std::string::npos) {
        return Say(what);
    }
    return Say("{0}.  The error occurred while parsing the regular expression: {1}",
               {Say(what.substr(0, split)), what.substr(split + where.size())});
}
} // namespace

Error SystemError(const std::string& what, int err) {
    return Error(what + ": " + SystemReason(err));
}

std::string SystemReason(int err) {
    return Say(std::strerror(err));
}

std::string NotARegularFile(bool is_folder) {
    return is_folder ? SystemReason(EISDIR) : Say("not a regular file");
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
        const std::string reason = ErrorCodeText(fs_error->code());
        if (fs_error->path1().empty()) {
            return Say("Cannot read an empty path: {0}", {reason});
        }
        return Say("Cannot read \"{0}\": {1}", {fs_error->path1().string(), reason});
    }
    if (const auto* regex_error = dynamic_cast<const boost::regex_error*>(&e)) {
        return Say("Invalid regular expression: {0}", {RegexComplaint(*regex_error)});
    }
    return e.what();
}

} // namespace tesslin
