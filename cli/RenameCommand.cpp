#include "cli/RenameCommand.h"

#include "cli/Arguments.h"
#include "cli/Status.h"
#include "platform/Error.h"
#include "rename/FileMove.h"
#include "rename/RenamePlan.h"

#include <boost/program_options.hpp>

#include <ostream>
#include <sstream>

namespace po = boost::program_options;

namespace tesslin::cli {

namespace {

po::options_description RenameOptions() {
    po::options_description options("Options");
    options.add_options()                                                   //
        ("rename-video", "give the video file the subtitle's name instead") //
        ("help,h", "show this help");
    return options;
}

} // namespace

std::string RenameUsage() {
    std::ostringstream text;
    text << "Usage: tesslin rename VIDEO SUBTITLE [--rename-video]\n\n"
            "Gives SUBTITLE the name of VIDEO, keeping its own extension: the new name is\n"
            "VIDEO up to its last dot followed by SUBTITLE's extension, in VIDEO's folder.\n"
            "An existing file is never replaced.\n\n"
         << RenameOptions()
         << "\nExit status: 0 when the file was renamed, 1 when it was not, 2 for a usage "
            "error.\n";
    return text.str();
}

int RunRename(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    po::options_description all = RenameOptions();
    all.add_options()("video", po::value<std::string>())("subtitle", po::value<std::string>());
    po::positional_options_description positional;
    positional.add("video", 1).add("subtitle", 1);
    po::variables_map values;
    if (const auto status =
            ParseCommand("rename", args, all, positional, RenameUsage, out, err, values)) {
        return *status;
    }
    if (values.count("subtitle") == 0) {
        return ReportUsageError(err, "rename", "rename needs a VIDEO and a SUBTITLE file");
    }

    try {
        // Relative names are the caller's to give: they resolve against the caller's folder.
        const RenamePlan plan =
            PrepareRename(values["video"].as<std::string>(), values["subtitle"].as<std::string>(),
                          values.count("rename-video") == 0, PartnerPaths::kAny);
        MoveFileNoReplace(plan.existingName, plan.newName);
        out << plan.existingName << " -> " << plan.newName << '\n' << std::flush;
    } catch (const std::exception& e) {
        return ReportFailure(err, ErrorText(e));
    }
    return kDone;
}

} // namespace tesslin::cli
