#include "cli/SuggestCommand.h"

#include "cli/Arguments.h"
#include "cli/ScanCommand.h"
#include "cli/Status.h"
#include "match/PairMatcher.h"

#include <boost/program_options.hpp>

#include <ostream>
#include <sstream>

namespace po = boost::program_options;

namespace tesslin::cli {

namespace {

po::options_description SuggestOptions() {
    po::options_description options = ScanOptions();
    options.add_options() //
        ("rename-video", "propose giving the video file the subtitle's name instead");
    return options;
}

// A reason worth a line of its own: something fitted, but not one thing alone.
bool WorthSaying(const std::string& reason) {
    return reason != "no video fits" && reason != "no subtitle fits";
}

} // namespace

std::string SuggestUsage() {
    std::ostringstream text;
    text << "Usage: tesslin suggest [ROOT] [OPTIONS]\n\n"
            "Scans ROOT as 'tesslin scan' does and proposes a rename for each unmatched\n"
            "subtitle whose video is plain from the names (the same episode, a language\n"
            "tag, the same title), one record each: the current path, a tab, the new path, a\n"
            "tab and the rule that found the pair. Anything ambiguous is left alone.\n"
            "'tesslin suggest ROOT | tesslin apply' renames them.\n\n"
         << SuggestOptions()
         << "\nExit status: 0 when the scan completed, 1 when it failed, 2 for a usage error.\n";
    return text.str();
}

int RunSuggest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    po::options_description all = SuggestOptions();
    all.add_options()("root", po::value<std::string>());
    po::positional_options_description positional;
    positional.add("root", 1);
    po::variables_map values;
    if (const auto status =
            ParseCommand("suggest", args, all, positional, SuggestUsage, out, err, values)) {
        return *status;
    }
    std::vector<boost::filesystem::path> videos;
    std::vector<boost::filesystem::path> subtitles;
    if (const int status = ScanAsOptionsSay(values, videos, subtitles, err); status != kDone) {
        return status;
    }

    MatchOptions options;
    options.rename_sub_file = values.count("rename-video") == 0;
    // The same option keeps the tag in the new name that made the scan pair such names.
    options.keep_language_tag = values.count("keep-language-tag") != 0;
    const Suggestions suggestions = SuggestPairs(videos, subtitles, options);
    for (const UnpairedFile& file : suggestions.unpaired) {
        if (WorthSaying(file.reason)) {
            err << "tesslin: left alone " << file.path.string() << ": " << file.reason << '\n';
        }
    }
    const char end = values.count("null") != 0 ? '\0' : '\n';
    std::string records;
    // A name holding a tab or the record's end would be read back as other names, and in lines
    // a CR at a name's end as part of the line end.
    const auto cannot_travel = [end](const std::string& name) {
        return name.find('\t') != std::string::npos || name.find(end) != std::string::npos ||
               (end == '\n' && name.ends_with('\r'));
    };
    for (const PairProposal& proposal : suggestions.proposals) {
        if (cannot_travel(proposal.existingName) || cannot_travel(proposal.newName)) {
            err << "tesslin: left alone " << proposal.existingName << ": the name holds a "
                << (end == '\n' ? "tab or line feed or ends in a CR (try -0)" : "tab") << '\n';
            continue;
        }
        records += proposal.existingName + '\t' + proposal.newName + '\t' + proposal.rule + end;
    }
    out.write(records.data(), std::streamsize(records.size()));
    if (!out.flush()) {
        return ReportFailure(err, "cannot write the proposals to standard output");
    }
    return kDone;
}

} // namespace tesslin::cli
