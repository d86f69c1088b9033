#include "app/Error.h"

#include <cstring>

namespace tesslin {

Error SystemError(const std::string& what, int err) {
    return Error(what + ": " + std::strerror(err));
}

std::string ErrorText(const std::exception& e) {
    // Boost's filesystem_error and regex_error already carry the path or the pattern
    // position together with the library's reason in what(); one text serves them all.
    return e.what();
}

} // namespace tesslin
