#include "cli/CommandLine.h"

#include <ostream>

// Placeholder until the command line lands.
namespace tesslin {
int RunCommandLine(int, const char* const[], std::ostream& out, std::ostream&) {
    out << "usage: tesslin scan|rename ...\n";
    return 0;
}
} // namespace tesslin
