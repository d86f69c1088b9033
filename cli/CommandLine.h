// The command line `tesslin`: scan, rename, suggest and apply over the core.
#pragma once

#include <iosfwd>

namespace tesslin {

// Runs the command line with its arguments; returns the exit status
// (0 done, 1 failed, 2 usage error).
// `apply` without a FILE reads `in`; the first form gives it standard input.
int RunCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err);
int RunCommandLine(int argc, const char* const argv[], std::istream& in, std::ostream& out,
                   std::ostream& err);

} // namespace tesslin
