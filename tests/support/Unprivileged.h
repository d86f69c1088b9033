// Running a piece of a test as an unprivileged user, so that permission checks apply even
// when the suite runs as root (as it does in CI).
#pragma once

#include <functional>
#include <string>

namespace tesslin::test {

// Runs `body` and returns its text. With `in_child`, body runs in a forked child, which first
// drops to the user "nobody" (uid and gid 65534) when the process is root, and its text comes
// back to the parent; files the child must reach need to be readable and searchable by that
// user. A child that crashes, throws or cannot start gives "child failed ...".
std::string RunStep(bool in_child, const std::function<std::string()>& body);

// Whether permissions can keep this process out of a file. Not on Windows, whose files have no
// POSIX permission bits (Boost's permissions() only sets the read-only flag there) and which has
// no user to drop to: the cases that need it are left out there.
#ifdef _WIN32
inline constexpr bool kPosixPermissions = false;
#else
inline constexpr bool kPosixPermissions = true;
#endif

} // namespace tesslin::test
