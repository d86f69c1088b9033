// The exit statuses of the command line `tesslin` and the two ways it reports a problem.
#pragma once

#include <ostream>
#include <string>

namespace tesslin::cli {

constexpr int kDone = 0;          // the command completed (unmatched files are no failure)
constexpr int kFailed = 1;        // the command failed; the reason went to standard error
constexpr int kUsageError = 2;    // the command line itself was wrong
constexpr int kInterrupted = 130; // stopped by SIGINT or SIGTERM, as a shell counts Ctrl+C

// Writes "tesslin: MESSAGE" and a pointer to the help of `command` ("" for the program).
inline int ReportUsageError(std::ostream& err, const std::string& command,
                            const std::string& message) {
    const std::string help = command.empty() ? "tesslin --help" : "tesslin " + command + " --help";
    err << "tesslin: " << message << "\nTry '" << help << "'.\n";
    return kUsageError;
}

// Writes "tesslin: MESSAGE".
inline int ReportFailure(std::ostream& err, const std::string& message) {
    err << "tesslin: " << message << '\n';
    return kFailed;
}

} // namespace tesslin::cli
