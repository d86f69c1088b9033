// The one error type of TesslinGUI's own code, and the one place that turns any error
// into the text a user reads.
#pragma once

#include <exception>
#include <stdexcept>
#include <string>

namespace tesslin {

// An error raised by our own code. what() is the complete text shown to the user
// (for the settings file, exactly the fixed texts of that file's contract).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Builds an Error whose text is `what` followed by ": " and the text of errno value `err`.
Error SystemError(const std::string& what, int err);

// The system's text for errno value `err` ("Permission denied").
std::string SystemReason(int err);

// The reason given for a path that names a folder (is_folder) or something else that is not
// a regular file where a file was expected.
std::string NotARegularFile(bool is_folder);

// Builds an Error whose text is `what` and, on a line of its own, the full path of the file
// `path` (relative paths are taken from the working folder), ": " and `reason`. The first
// line stays exactly `what`, so a fixed text keeps its place.
Error FileError(const std::string& what, const std::string& path, const std::string& reason);

// The text a user reads for any exception: ours, Boost.Filesystem's (with the path and the
// system's reason), Boost.Regex's (with the library's complaint), or anything else.
std::string ErrorText(const std::exception& e);

} // namespace tesslin
