// Windows has no user to drop to for a moment and its files no POSIX permission bits: a step
// runs in this process, and the cases that depend on permissions are left out there
// (kPosixPermissions).
#include "tests/support/Unprivileged.h"

namespace tesslin::test {

std::string RunStep(bool, const std::function<std::string()>& body) {
    return body();
}

} // namespace tesslin::test
