#include "cli/SuggestCommand.h"

#include "cli/Arguments.h"
#include "cli/ScanCommand.h"
#include "cli/Status.h"
#include "scan/MatchByFolder.h"
#include "scan/ScanWorkers.h"

#include <boost/program_options.hpp>

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <sstream>
#include <utility>
#include <vector>

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
            "'tesslin suggest ROOT | tesslin apply' renames them. Folders are matched on as\n"
            "many threads as --jobs gives; the records are the same for any number.\n\n"
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
    PathList videos;
    PathList subtitles;
    if (const int status = ScanAsOptionsSay(values, videos, subtitles, err); status != kDone) {
        return status;
    }

    MatchOptions options;
    options.rename_sub_file = values.count("rename-video") == 0;
    // The same option keeps the tag in the new name that made the scan pair such names.
    options.keep_language_tag = values.count("keep-language-tag") != 0;
    const char end = values.count("null") != 0 ? '\0' : '\n';
    // A name holding a tab or the record's end would be read back as other names, and in lines
    // a CR at a name's end as part of the line end.
    const auto cannot_travel = [end](const std::string& name) {
        return name.find('\t') != std::string::npos || name.find(end) != std::string::npos ||
               (end == '\n' && name.ends_with('\r'));
    };
    std::string records;
    std::vector<std::string> notes; // the name-holds-a-tab messages, after the matcher's own
    std::vector<std::pair<std::size_t, std::string>> left_alone;
    const auto write = [&](bool all) {
        if (all || records.size() >= (1 << 16)) {
            out.write(records.data(), std::streamsize(records.size()));
            records.clear();
        }
    };
    const unsigned jobs =
        values.count("jobs") != 0 ? values["jobs"].as<unsigned>() : DefaultScanJobs();
    MatchFolderByFolder(
        videos, subtitles, options,
        [&](const PairProposal& proposal) {
            if (cannot_travel(proposal.existingName) || cannot_travel(proposal.newName)) {
                notes.push_back(
                    "tesslin: left alone " + proposal.existingName + ": the name holds a " +
                    (end == '\n' ? "tab or line feed or ends in a CR (try -0)" : "tab") + "\n");
                return;
            }
            // Appended piece by piece: no temporary string per record.
            records.append(proposal.existingName).append(1, '\t');
            records.append(proposal.newName).append(1, '\t');
            records.append(proposal.rule).append(1, end);
            write(false);
        },
        [&](std::size_t order, const UnpairedFile& file) {
            if (WorthSaying(file.reason)) {
                left_alone.emplace_back(order, "tesslin: left alone " + file.path.string() + ": " +
                                                   file.reason + "\n");
            }
        },
        nullptr, jobs);
    write(true);
    if (!out.flush()) {
        return ReportFailure(err, "cannot write the proposals to standard output");
    }
    // The messages as one matcher run over both lists gave them: the videos', the subtitles',
    // then the names that cannot travel.
    std::sort(left_alone.begin(), left_alone.end());
    for (const auto& [order, text] : left_alone) {
        err << text;
    }
    for (const std::string& text : notes) {
        err << text;
    }
    return kDone;
}

} // namespace tesslin::cli
