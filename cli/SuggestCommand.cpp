#include "cli/SuggestCommand.h"

#include "cli/Arguments.h"
#include "cli/ScanCommand.h"
#include "cli/Status.h"
#include "match/PairMatcher.h"
#include "platform/PathStatus.h"

#include <boost/program_options.hpp>

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <ostream>
#include <sstream>
#include <unordered_map>
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

// The folder (path and separator) in which the matcher compares a file listed in `folder`.
std::string_view MatchFolder(std::string_view folder, bool subtitle) {
    if (!subtitle || folder.size() < 2) {
        return folder;
    }
    const std::string_view inner = folder.substr(0, folder.size() - 1);
    const std::size_t separator = inner.find_last_of(kPathSeparators);
    if (separator == std::string_view::npos || !IsSubtitleFolder(inner.substr(separator + 1))) {
        return folder;
    }
    return folder.substr(0, separator + 1);
}

// Runs the matcher on one folder (with its subtitle folders) at a time, since it pairs files
// only there: it then holds one folder's names instead of the whole library's. Proposals come
// out as one run over both lists gives them, in the order of their subtitles: a folder's
// proposals wait only while a folder whose subtitles sort among them is matched. Each
// unpaired file is given with its place: the videos' first, then the subtitles'.
template <class OnProposal, class OnUnpaired>
void MatchFolderByFolder(const PathList& videos, const PathList& subtitles,
                         const MatchOptions& options, OnProposal on_proposal,
                         OnUnpaired on_unpaired) {
    struct Group {
        std::vector<std::uint32_t> files[2]; // into videos, subtitles; ascending
    };
    std::vector<Group> groups;
    const PathList* const lists[2] = {&videos, &subtitles};
    {
        std::unordered_map<std::string, std::uint32_t> ids;
        for (int k = 0; k < 2; ++k) {
            // The lists run folder by folder: the last entry's folder gives most ids.
            std::string_view last_folder;
            std::uint32_t id = 0;
            for (std::size_t i = 0; i < lists[k]->size(); ++i) {
                const std::string_view folder = lists[k]->Folder(i);
                if (i == 0 || folder != last_folder) {
                    last_folder = folder;
                    id = ids.try_emplace(std::string(MatchFolder(folder, k)),
                                         static_cast<std::uint32_t>(groups.size()))
                             .first->second;
                    if (id == groups.size()) {
                        groups.emplace_back();
                    }
                }
                groups[id].files[k].push_back(static_cast<std::uint32_t>(i));
            }
        }
    }
    const auto first_subtitle = [&](std::uint32_t g) {
        return groups[g].files[1].empty() ? UINT32_MAX : groups[g].files[1].front();
    };
    std::vector<std::uint32_t> order(groups.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return first_subtitle(a) < first_subtitle(b);
    });
    std::multimap<std::uint32_t, PairProposal> waiting; // by subtitle
    const auto emit_before = [&](std::uint32_t limit) {
        while (!waiting.empty() && waiting.begin()->first < limit) {
            on_proposal(waiting.begin()->second);
            waiting.erase(waiting.begin());
        }
    };
    for (const std::uint32_t g : order) {
        emit_before(first_subtitle(g));
        std::vector<boost::filesystem::path> paths[2];
        // Each file's place by its path's text, which `paths` holds for the map's life.
        using NativeText = std::basic_string_view<boost::filesystem::path::value_type>;
        std::unordered_map<NativeText, std::uint32_t> place[2];
        for (int k = 0; k < 2; ++k) {
            paths[k].reserve(groups[g].files[k].size());
            for (const std::uint32_t i : groups[g].files[k]) {
                paths[k].push_back(lists[k]->Path(i));
            }
            place[k].reserve(paths[k].size());
            for (std::size_t j = 0; j < paths[k].size(); ++j) {
                place[k].emplace(paths[k][j].native(), groups[g].files[k][j]);
            }
        }
        groups[g] = {};
        Suggestions found = SuggestPairs(paths[0], paths[1], options);
        for (PairProposal& proposal : found.proposals) {
            waiting.emplace(place[1].at(proposal.subtitle.native()), std::move(proposal));
        }
        for (const UnpairedFile& file : found.unpaired) {
            if (const auto it = place[0].find(file.path.native()); it != place[0].end()) {
                on_unpaired(it->second, file);
            } else {
                on_unpaired(videos.size() + place[1].at(file.path.native()), file);
            }
        }
    }
    emit_before(UINT32_MAX);
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
    MatchFolderByFolder(
        videos, subtitles, options,
        [&](const PairProposal& proposal) {
            if (cannot_travel(proposal.existingName) || cannot_travel(proposal.newName)) {
                notes.push_back(
                    "tesslin: left alone " + proposal.existingName + ": the name holds a " +
                    (end == '\n' ? "tab or line feed or ends in a CR (try -0)" : "tab") + "\n");
                return;
            }
            records += proposal.existingName + '\t' + proposal.newName + '\t' + proposal.rule + end;
            write(false);
        },
        [&](std::size_t order, const UnpairedFile& file) {
            if (WorthSaying(file.reason)) {
                left_alone.emplace_back(order, "tesslin: left alone " + file.path.string() + ": " +
                                                   file.reason + "\n");
            }
        });
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
