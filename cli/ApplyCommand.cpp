#include "cli/ApplyCommand.h"

#include "cli/Arguments.h"
#include "cli/Status.h"
#include "rename/RenameBatch.h"

#include <boost/program_options.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace po = boost::program_options;

namespace tesslin::cli {

namespace {

po::options_description ApplyOptions() {
    po::options_description options("Options");
    options.add_options()                                                             //
        ("null,0", "records end with a NUL byte instead of a line feed (suggest -0)") //
        ("help,h", "show this help");
    return options;
}

} // namespace

std::string ApplyUsage() {
    std::ostringstream text;
    text << "Usage: tesslin apply [FILE] [-0]\n\n"
            "Renames files as the records of FILE (or standard input) say: the current path,\n"
            "a tab, the new path and optionally a tab and a rule, as 'tesslin suggest' writes\n"
            "them. An existing file is never replaced; a rename that fails is reported and\n"
            "the rest go on.\n\n"
         << ApplyOptions()
         << "\nExit status: 0 when every rename was done, 1 when any was not, 2 for a usage "
            "error.\n";
    return text.str();
}

int RunApply(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    po::options_description all = ApplyOptions();
    all.add_options()("file", po::value<std::string>());
    po::positional_options_description positional;
    positional.add("file", 1);
    po::variables_map values;
    try {
        values = ParseArguments(args, all, positional);
    } catch (const po::error& e) {
        return ReportUsageError(err, "apply", e.what());
    }
    if (values.count("help") != 0) {
        out << ApplyUsage();
        return kDone;
    }

    std::string input;
    if (values.count("file") != 0) {
        const std::string path = values["file"].as<std::string>();
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            return ReportFailure(err, path + ": " + std::strerror(errno));
        }
        input.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } else {
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    const char end = values.count("null") != 0 ? '\0' : '\n';
    bool failed = false;
    std::size_t number = 0;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t stop = input.find(end, start);
        if (stop == std::string::npos) {
            stop = input.size(); // the last record may lack its end
        }
        const std::string record = input.substr(start, stop - start);
        start = stop + 1;
        ++number;
        if (record.empty()) {
            continue;
        }
        const std::size_t tab = record.find('\t');
        const std::size_t rule = tab == std::string::npos ? tab : record.find('\t', tab + 1);
        if (tab == std::string::npos) {
            failed = true;
            err << "tesslin: record " << number << " has no tab between the two names\n";
            continue;
        }
        // One at a time, each reported as it happens: a long batch shows its progress, and
        // an interrupted one has said what it did.
        const StepResult result =
            RunRenames({{record.substr(0, tab), record.substr(tab + 1, rule - tab - 1)}}).front();
        if (result.done) {
            out << result.step.from << " -> " << result.step.to << '\n' << std::flush;
        } else {
            failed = true;
            err << "tesslin: " << result.error << '\n';
        }
    }
    if (!out.flush()) {
        return ReportFailure(err, "cannot write to standard output");
    }
    return failed ? kFailed : kDone;
}

} // namespace tesslin::cli
