#include "cli/Arguments.h"

#include "cli/Status.h"

#include <ostream>

namespace po = boost::program_options;

namespace tesslin::cli {

po::variables_map ParseArguments(const std::vector<std::string>& args,
                                 const po::options_description& options,
                                 const po::positional_options_description& positional) {
    // Guessing would let "--rec" or "--sub" silently pick an option; a command that renames
    // files should do only what it was told.
    const int style =
        po::command_line_style::default_style & ~po::command_line_style::allow_guessing;
    po::variables_map values;
    po::store(
        po::command_line_parser(args).options(options).positional(positional).style(style).run(),
        values);
    po::notify(values);
    return values;
}

std::optional<int> ParseCommand(const std::string& command, const std::vector<std::string>& args,
                                const po::options_description& options,
                                const po::positional_options_description& positional,
                                std::string (*usage)(), std::ostream& out, std::ostream& err,
                                po::variables_map& values) {
    try {
        values = ParseArguments(args, options, positional);
    } catch (const po::error& e) {
        return ReportUsageError(err, command, e.what());
    }
    if (values.count("help") != 0) {
        out << usage();
        return kDone;
    }
    return std::nullopt;
}

} // namespace tesslin::cli
