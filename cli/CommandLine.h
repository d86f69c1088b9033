// The command line `tesslin`: scan and rename over the core.
#pragma once

#include <iosfwd>

namespace tesslin {

// Runs the command line with its arguments; returns the exit status
// (0 done, 1 failed, 2 usage error).
int RunCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err);

} // namespace tesslin
