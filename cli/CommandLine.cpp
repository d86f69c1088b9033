#include "cli/CommandLine.h"

#include "cli/ApplyCommand.h"
#include "cli/RenameCommand.h"
#include "cli/ScanCommand.h"
#include "cli/Status.h"
#include "cli/SuggestCommand.h"
#include "platform/Error.h"

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

namespace tesslin {

namespace {

const char* const kUsage =
    "Usage: tesslin scan [ROOT] [OPTIONS]\n"
    "       tesslin rename VIDEO SUBTITLE [--rename-video]\n"
    "       tesslin suggest [ROOT] [OPTIONS]\n"
    "       tesslin apply [FILE] [-0]\n"
    "       tesslin --help | --version\n\n"
    "Pairs subtitle files with video files by name, as TesslinGUI does, without a window.\n"
    "  scan     list the videos without a subtitle and the subtitles without a video\n"
    "  rename   give a subtitle its video's name (or the reverse); never replaces a file\n"
    "  suggest  propose renames for the pairs whose names differ but plainly belong together\n"
    "  apply    carry out such proposals; never replaces a file\n\n"
    "'tesslin COMMAND --help' describes the options of each command.\n";

} // namespace

int RunCommandLine(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
    return RunCommandLine(argc, argv, std::cin, out, err);
}

int RunCommandLine(int argc, const char* const argv[], std::istream& in, std::ostream& out,
                   std::ostream& err) {
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
        if (command == "suggest") {
            return RunSuggest(args, out, err);
        }
        if (command == "apply") {
            return RunApply(args, in, out, err);
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
