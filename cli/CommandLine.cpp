#include "cli/CommandLine.h"

#include "cli/RenameCommand.h"
#include "cli/ScanCommand.h"
#include "cli/Status.h"
#include "platform/Error.h"

#include <ostream>
#include <string>
#include <vector>

namespace tesslin {

namespace {

const char* const kUsage =
    "Usage: tesslin scan [ROOT] [OPTIONS]\n"
    "       tesslin rename VIDEO SUBTITLE [--rename-video]\n"
    "       tesslin --help | --version\n\n"
    "Pairs subtitle files with video files by name, as TesslinGUI does, without a window.\n"
    "  scan    list the videos without a subtitle and the subtitles without a video\n"
    "  rename  give a subtitle its video's name (or the reverse); never replaces a file\n\n"
    "'tesslin scan --help' and 'tesslin rename --help' describe their options.\n";

} // namespace

int RunCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
    using namespace cli;
    if (argc < 2) {
        err << kUsage;
        return kUsageError;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "scan") {
            return RunScan(args, out, err);
        }
        if (command == "rename") {
            return RunRename(args, out, err);
        }
        if (command == "--help" || command == "-h") {
            out << kUsage;
            return kDone;
        }
        if (command == "--version") {
            out << "tesslin " TESSLIN_VERSION "\n";
            return kDone;
        }
    } catch (const std::exception& e) {
        // Only what the commands cannot foresee gets here, such as memory running out.
        return ReportFailure(err, ErrorText(e));
    }
    return ReportUsageError(err, "", "unknown command '" + command + "'");
}

} // namespace tesslin
